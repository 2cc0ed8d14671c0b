#pragma once
// The enumerations of the configuration model, stored as integers. Each value
// has a label, the message key under which dialogs and descriptions show it.
#include <array>
#include <optional>
#include <string_view>

enum KORVrcRenderingMode : int {
  KORVrcRenderingMono = 0,
  KORVrcRenderingLeft = 1,
  KORVrcRenderingRight = 2,
  KORVrcRenderingStereo = 3
};
enum KORVrcMirrorMode : int {
  KORVrcMirrorHorizontal = 0,
  KORVrcMirrorVertical = 1,
  KORVrcMirrorBoth = 2,
  KORVrcMirrorNone = 3
};
enum KORVrcHeadType : int {
  KORVrcHeadCustom = 0,
  KORVrcHeadCrystalEyes = 1,
  KORVrcHeadFakespaceBoom = 2,
  KORVrcHeadVR6 = 3
};
enum KORVrcRegionType : int {
  KORVrcRegionRange = 0,
  KORVrcRegionViewport = 1,
  KORVrcRegionEye = 2
};
// Stored and returned unchanged; no value has a meaning of its own.
using KORVrcEyeRegionType = int;
using KORVrcDecompositionType = int;
enum KORVrcTrackingStationType : int {
  KORVrcStationCustom = 0,
  KORVrcStationIS900 = 1,
  KORVrcStationPolhemus = 2,
  KORVrcStationFlockOfBirds = 3,
  KORVrcStationART = 4
};
enum KORVrcButtonDeviceType : int {
  KORVrcButtonCustom = 0,
  KORVrcButtonMike = 1,
  KORVrcButtonNeoWand = 2,
  KORVrcButtonSpaceStick = 3
};
enum KORVrcHandDeviceType : int {
  KORVrcHandCustom = 0,
  KORVrcHandMike = 1,
  KORVrcHandInterSenseWand = 2,
  KORVrcHandNeoWand = 3,
  KORVrcHandSpaceStick = 4
};

// Labels by value, in value order.
inline constexpr std::array<std::string_view, 4> KORVrcRenderingModeLabels{"Mono", "Left", "Right",
                                                                           "Stereo"};
inline constexpr std::array<std::string_view, 4> KORVrcMirrorModeLabels{"HORI", "VERTI", "BOTH",
                                                                        "NONE"};
inline constexpr std::array<std::string_view, 4> KORVrcHeadTypeLabels{"CUSTOM", "CRYSTALEYES",
                                                                      "FAKESPACEBOOM", "VR6"};
inline constexpr std::array<std::string_view, 5> KORVrcTrackingStationTypeLabels{
    "CUSTOM", "IS900", "POLHEMUS", "FLOCKOFBIRDS", "ART"};
inline constexpr std::array<std::string_view, 4> KORVrcButtonDeviceTypeLabels{
    "BD_CUSTOM", "BD_MIKE", "BD_NEOWAND", "BD_SPACESTICK"};
inline constexpr std::array<std::string_view, 5> KORVrcHandDeviceTypeLabels{
    "CUSTOM", "MIKE", "INTERSENSEWAND", "NEOWAND", "SPACESTICK"};

// The value of a label, or nothing for an unknown label.
template <std::size_t N>
constexpr std::optional<int> KORVrcValueOfLabel(const std::array<std::string_view, N>& iLabels,
                                                std::string_view iLabel) {
  for (std::size_t i = 0; i < N; ++i)
    if (iLabels[i] == iLabel)
      return static_cast<int>(i);
  return std::nullopt;
}
