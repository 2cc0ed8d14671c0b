#pragma once
// An installation description: the whole configuration of an immersive
// installation as one declarative value, read from and written to the JSON
// text format "installation-description/1" (docs/installation-description.md).
//
// The default values of every member live in the member initialisers below;
// the reader fills in what a file leaves out and the writer leaves out what
// equals them, so both always agree.
//
// Lengths are millimetres; every angle of a description is in degrees.
#include "interfaces/KORVrcDisplayName.h"
#include "interfaces/KORVrcEnums.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char KORVrcDescriptionFormat[] = "installation-description/1";

// A translation and heading, pitch, roll (HPR convention of the model).
struct KORVrcPlacement {
  double x = 0, y = 0, z = 0, h = 0, p = 0, r = 0;
  bool operator==(const KORVrcPlacement&) const = default;
};

using KORVrcPoint = std::array<double, 3>;

struct KORVrcViewDescription {
  std::string name;
  bool isCamera = false;
  KORVrcPoint upperLeft{}, lowerLeft{}, lowerRight{}; // a screen
  double hfov = 0, vfov = 0, hshift = 0, vshift = 0;  // a camera
};

struct KORVrcWindowDescription {
  std::string name;
  double left = 0, top = 0, width = 1, height = 1;
  std::optional<std::string> view;
  KORVrcRenderingMode rendering = KORVrcRenderingMono;
  KORVrcMirrorMode mirror = KORVrcMirrorNone;
  bool main = false;
};

struct KORVrcIGDescription {
  std::string name;
  int pixelWidth = 1280, pixelHeight = 1024;
  std::vector<KORVrcWindowDescription> windows;
};

enum class KORVrcTracks { None, Head, Hand };

struct KORVrcTrackerDescription {
  int number = 0;
  KORVrcTracks tracks = KORVrcTracks::None;
  bool bestOffset = false; // the recommended offset instead of offset
  KORVrcPlacement offset;
  bool viewpoint = false, picking = false, buttonManager = false;
};

struct KORVrcStationDescription {
  std::string name;
  KORVrcTrackingStationType type = KORVrcStationPolhemus;
  std::string daemon;
  int port = 1, speed = 115200;
  KORVrcPlacement reference{0, 0, -750};
  std::vector<KORVrcTrackerDescription> trackers;
};

struct KORVrcButtonDeviceDescription {
  std::string name;
  KORVrcButtonDeviceType type = KORVrcButtonCustom;
  std::string daemon;
  int port = 1, speed = 9600;
  bool buttonManager = false;
};

struct KORVrcDescription {
  std::string name = "Config";
  double ipd = 57;
  KORVrcHeadType headType = KORVrcHeadCustom;
  KORVrcPlacement headLocation;
  KORVrcHandDeviceType handType = KORVrcHandCustom;
  KORVrcPlacement handLocation{500, -400, -750};
  std::vector<KORVrcViewDescription> views;
  std::vector<KORVrcIGDescription> imageGenerators;
  std::vector<KORVrcStationDescription> trackingStations;
  std::vector<KORVrcButtonDeviceDescription> buttonDevices;
};

// Whether the model recommends an offset for a tracker on a station of
// iStationType that follows the head (iTracks Head, of iHeadType) or the hand
// device (iTracks Hand, of iHandType).
using KORVrcBestOffsetQuery =
    std::function<bool(KORVrcTrackingStationType iStationType, KORVrcTracks iTracks,
                       KORVrcHeadType iHeadType, KORVrcHandDeviceType iHandType)>;

// Reads and checks a description text. Every rule of the format is checked in
// document order; on the first broken rule the result is false and oError is
// "<JSON path>: <rule>" (for example
// "imageGenerators[1].windows[0].viewport.width: must be a number").
[[nodiscard]] bool KORVrcReadDescription(const std::string& iText,
                                         const KORVrcBestOffsetQuery& iHasBestOffset,
                                         KORVrcDescription& oDescription, std::string& oError);

// The description as JSON text (two-space indentation, final newline), with
// the members that equal their defaults left out.
std::string KORVrcWriteDescription(const KORVrcDescription& iDescription);

// iText as a message shows it: between quotes, with quotes, backslashes and
// control characters escaped, cut after 64 characters (the full length is
// then given).
std::string KORVrcEcho(std::string_view iText);
