#include "KORVrcDescription.h"

#include "interfaces/KORVrcValueRules.h"
#include "math/KORMathTolerance.h"
#include "system/KORJsonDepth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace {

// Ordered: rules are checked in the order the members appear in the file.
using Json = nlohmann::ordered_json;

// The first broken rule; thrown inside the reader only, caught at its entry.
struct BrokenRule {
  std::string path;
  std::string rule;
};

[[noreturn]] void Fail(const std::string& iPath, const std::string& iRule) {
  throw BrokenRule{iPath, iRule};
}

std::string Quoted(std::string_view iText) {
  return KORVrcEcho(iText);
}

// What each text problem of the format's ranges says (docs/installation-description.md).
std::string TextRule(KORVrcTextProblem iProblem) {
  switch (iProblem) {
  case KORVrcTextProblem::Empty:
    return "must not be empty";
  case KORVrcTextProblem::TooLong:
    return "must be at most " + std::to_string(KORVrcMaxNameLength) + " characters long";
  case KORVrcTextProblem::ControlCharacter:
    return "must not hold a control character";
  case KORVrcTextProblem::NotAFileName:
    return "must be usable as a file name: not \".\" or \"..\", no \"/\" or \"\\\"";
  case KORVrcTextProblem::BlankOrQuote:
    return "must not hold a blank, a quote or a control character";
  case KORVrcTextProblem::None:
    break;
  }
  return {};
}

std::string Member(const std::string& iPath, std::string_view iKey) {
  return iPath.empty() ? std::string(iKey) : iPath + "." + std::string(iKey);
}

std::string Item(const std::string& iPath, std::size_t iIndex) {
  return iPath + "[" + std::to_string(iIndex) + "]";
}

template <std::size_t N> std::string LabelList(const std::array<std::string_view, N>& iLabels) {
  std::string list;
  for (std::string_view label : iLabels)
    list += (list.empty() ? "" : ", ") + Quoted(label);
  return list;
}

// Finds the first member that appears twice in one object: the JSON reader
// would silently keep the last one, which hides a typo as well as an unknown
// member would.
class DuplicateMemberFinder {
public:
  bool operator()(int, Json::parse_event_t iEvent, Json& iParsed) {
    using Event = Json::parse_event_t;
    switch (iEvent) {
    case Event::object_start:
    case Event::array_start:
      _frames.push_back({iEvent == Event::array_start, 0, {}, {}});
      break;
    case Event::key:
      _frames.back().key = iParsed.get<std::string>();
      if (!_frames.back().keys.insert(_frames.back().key).second && _duplicate.empty())
        _duplicate = CurrentPath();
      break;
    case Event::object_end:
    case Event::array_end:
      _frames.pop_back();
      ElementDone();
      break;
    case Event::value:
      ElementDone();
      break;
    }
    return true;
  }
  const std::string& Duplicate() const { return _duplicate; }
  // The JSON path the parser was reading.
  std::string CurrentPath() const {
    std::string path;
    for (const Frame& frame : _frames)
      path = frame.isArray ? Item(path, frame.index) : Member(path, frame.key);
    return path;
  }

private:
  struct Frame {
    bool isArray;
    std::size_t index;
    std::set<std::string> keys;
    std::string key;
  };
  void ElementDone() {
    if (!_frames.empty() && _frames.back().isArray)
      ++_frames.back().index;
  }
  std::vector<Frame> _frames;
  std::string _duplicate;
};

// A label's value when iObject has a valid one under iKey, the default when
// the member is absent, nothing when it is not a known label or iObject is not
// an object at all.
template <class Enum, std::size_t N>
std::optional<Enum> PeekLabel(const Json& iObject, const char* iKey,
                              const std::array<std::string_view, N>& iLabels, Enum iDefault) {
  if (!iObject.is_object())
    return std::nullopt;
  if (!iObject.contains(iKey))
    return iDefault;
  const Json& value = iObject.at(iKey);
  if (!value.is_string())
    return std::nullopt;
  if (auto found = KORVrcValueOfLabel(iLabels, value.get<std::string>()))
    return static_cast<Enum>(*found);
  return std::nullopt;
}

constexpr std::array<std::string_view, 3> kTracksLabels{"none", "head", "hand"};

class DescriptionReader {
public:
  DescriptionReader(const Json& iRoot, const KORVrcBestOffsetQuery& iHasBestOffset)
      : _root(iRoot), _hasBestOffset(iHasBestOffset) {}

  KORVrcDescription Read() {
    if (!_root.is_object())
      Fail("(document)", "must be a JSON object");
    // A file of another kind gets one clear error rather than a list of unknown members.
    if (!_root.contains("format"))
      Fail("format", "required member is missing");
    PeekContext();
    KORVrcDescription description;
    ForEachMember(_root, "",
                  {"format", "name", "head", "hand", "views", "imageGenerators", "trackingStations",
                   "buttonDevices"},
                  [&](const std::string& iKey, const Json& iValue, const std::string& iPath) {
                    if (iKey == "format") {
                      if (String(iValue, iPath) != KORVrcDescriptionFormat)
                        Fail(iPath, "must be " + Quoted(KORVrcDescriptionFormat));
                    } else if (iKey == "name")
                      description.name = FileName(iValue, iPath);
                    else if (iKey == "head")
                      ReadHead(iValue, iPath, description);
                    else if (iKey == "hand")
                      ReadHand(iValue, iPath, description);
                    else if (iKey == "views")
                      ForEachItem(iValue, iPath, [&](const Json& iItem, const std::string& iAt) {
                        description.views.push_back(ReadView(iItem, iAt));
                      });
                    else if (iKey == "imageGenerators")
                      ForEachItem(iValue, iPath, [&](const Json& iItem, const std::string& iAt) {
                        description.imageGenerators.push_back(ReadIG(iItem, iAt));
                      });
                    else if (iKey == "trackingStations")
                      ForEachItem(iValue, iPath, [&](const Json& iItem, const std::string& iAt) {
                        description.trackingStations.push_back(ReadStation(iItem, iAt));
                      });
                    else
                      ForEachItem(iValue, iPath, [&](const Json& iItem, const std::string& iAt) {
                        description.buttonDevices.push_back(ReadButtonDevice(iItem, iAt));
                      });
                  });
    return description;
  }

private:
  using MemberVisitor =
      std::function<void(const std::string& iKey, const Json& iValue, const std::string& iPath)>;
  using ItemVisitor = std::function<void(const Json& iItem, const std::string& iPath)>;

  // What later members refer to but may come after them in the file: the view
  // names and the head and hand types. Read leniently; their own rules are
  // checked when they are reached.
  void PeekContext() {
    const Json views = _root.value("views", Json::array());
    if (views.is_array())
      for (const Json& view : views)
        if (view.is_object() && view.contains("name") && view.at("name").is_string())
          _viewNames.insert(view.at("name").get<std::string>());
    _headType = PeekLabel(_root.value("head", Json::object()), "type", KORVrcHeadTypeLabels,
                          KORVrcDescription().headType);
    _handType = PeekLabel(_root.value("hand", Json::object()), "type", KORVrcHandDeviceTypeLabels,
                          KORVrcDescription().handType);
  }

  // Visits the members in file order, refusing unknown ones, then requires iRequired.
  void ForEachMember(const Json& iObject, const std::string& iPath,
                     std::initializer_list<std::string_view> iAllowed, const MemberVisitor& iVisit,
                     std::initializer_list<std::string_view> iRequired = {}) {
    if (!iObject.is_object())
      Fail(iPath, "must be an object");
    for (const auto& [key, value] : iObject.items()) {
      const std::string path = Member(iPath, key);
      bool known = false;
      for (std::string_view allowed : iAllowed)
        known = known || allowed == key;
      if (!known)
        Fail(path, "unknown member");
      iVisit(key, value, path);
    }
    for (std::string_view required : iRequired)
      if (!iObject.contains(required))
        Fail(Member(iPath, required), "required member is missing");
  }

  void ForEachItem(const Json& iArray, const std::string& iPath, const ItemVisitor& iVisit) {
    if (!iArray.is_array())
      Fail(iPath, "must be an array");
    for (std::size_t index = 0; index < iArray.size(); ++index)
      iVisit(iArray[index], Item(iPath, index));
  }

  static std::string String(const Json& iValue, const std::string& iPath) {
    if (!iValue.is_string())
      Fail(iPath, "must be a string");
    return iValue.get<std::string>();
  }
  static double Number(const Json& iValue, const std::string& iPath) {
    if (!iValue.is_number())
      Fail(iPath, "must be a number");
    const double value = iValue.get<double>();
    if (!std::isfinite(value) || std::abs(value) > KORVrcMaxMagnitude)
      Fail(iPath, "must be a number from -1e9 to 1e9");
    return value;
  }
  // A number within iLow and iHigh, each bound excluded unless said otherwise.
  static double NumberWithin(const Json& iValue, const std::string& iPath, double iLow,
                             double iHigh, bool iLowIncluded = false, bool iHighIncluded = false) {
    const double value = Number(iValue, iPath);
    const bool above = iLowIncluded ? value >= iLow : value > iLow;
    const bool below = iHighIncluded ? value <= iHigh : value < iHigh;
    if (!above || !below) {
      const auto bound = [](double iBound) {
        std::ostringstream text;
        text << iBound;
        return text.str();
      };
      Fail(iPath, "must be a number with " + bound(iLow) + (iLowIncluded ? " <= " : " < ") +
                      "value" + (iHighIncluded ? " <= " : " < ") + bound(iHigh));
    }
    return value;
  }
  // A text that iProblemOf accepts: names are shown in dialogs and written into
  // runtime files, the configuration's name is also the stem of the exported file
  // names, and daemon names are written between quotes in the daemon files.
  static std::string Text(const Json& iValue, const std::string& iPath,
                          KORVrcTextProblem (*iProblemOf)(const std::string&)) {
    std::string text = String(iValue, iPath);
    if (const KORVrcTextProblem problem = iProblemOf(text); problem != KORVrcTextProblem::None)
      Fail(iPath, TextRule(problem));
    return text;
  }
  static std::string Name(const Json& iValue, const std::string& iPath) {
    return Text(iValue, iPath, KORVrcNameProblem);
  }
  static std::string FileName(const Json& iValue, const std::string& iPath) {
    return Text(iValue, iPath, KORVrcFileNameProblem);
  }
  static std::string Daemon(const Json& iValue, const std::string& iPath) {
    return Text(iValue, iPath, KORVrcDaemonNameProblem);
  }
  static int Integer(const Json& iValue, const std::string& iPath,
                     long iMin = std::numeric_limits<int>::min(),
                     long iMax = std::numeric_limits<int>::max()) {
    const bool inRange =
        iValue.is_number_unsigned()
            ? iValue.get<unsigned long>() <= static_cast<unsigned long>(iMax) &&
                  (iMin <= 0 || iValue.get<unsigned long>() >= static_cast<unsigned long>(iMin))
            : iValue.is_number_integer() && iValue.get<long>() >= iMin &&
                  iValue.get<long>() <= iMax;
    if (!inRange) {
      if (iMin == std::numeric_limits<int>::min())
        Fail(iPath, "must be an integer");
      Fail(iPath,
           "must be an integer from " + std::to_string(iMin) + " to " + std::to_string(iMax));
    }
    return static_cast<int>(iValue.get<long>());
  }
  static bool Boolean(const Json& iValue, const std::string& iPath) {
    if (!iValue.is_boolean())
      Fail(iPath, "must be true or false");
    return iValue.get<bool>();
  }
  template <class Enum, std::size_t N>
  static Enum Label(const Json& iValue, const std::string& iPath,
                    const std::array<std::string_view, N>& iLabels) {
    if (iValue.is_string())
      if (auto found = KORVrcValueOfLabel(iLabels, iValue.get<std::string>()))
        return static_cast<Enum>(*found);
    Fail(iPath, "must be one of " + LabelList(iLabels));
  }
  static KORVrcPoint Point(const Json& iValue, const std::string& iPath) {
    if (!iValue.is_array() || iValue.size() != 3 ||
        !std::all_of(iValue.begin(), iValue.end(), [](const Json& c) { return c.is_number(); }))
      Fail(iPath, "must be a point: an array of three numbers");
    return {Number(iValue[0], Item(iPath, 0)), Number(iValue[1], Item(iPath, 1)),
            Number(iValue[2], Item(iPath, 2))};
  }
  KORVrcPlacement Placement(const Json& iValue, const std::string& iPath) {
    KORVrcPlacement placement;
    ForEachMember(iValue, iPath, {"x", "y", "z", "h", "p", "r"},
                  [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
                    const double value = Number(iMember, iAt);
                    double* fields[] = {&placement.x, &placement.y, &placement.z,
                                        &placement.h, &placement.p, &placement.r};
                    *fields[std::string_view("xyzhpr").find(iKey[0])] = value;
                  });
    return placement;
  }

  // The corners must span a rectangle: two distinct edges from the lower-left
  // corner that are not parallel (sine of their angle above the tolerance).
  static void CheckRectangle(const KORVrcViewDescription& iView, const std::string& iPath) {
    const auto edge = [&](const KORVrcPoint& iTo) {
      return KORVrcPoint{iTo[0] - iView.lowerLeft[0], iTo[1] - iView.lowerLeft[1],
                         iTo[2] - iView.lowerLeft[2]};
    };
    const KORVrcPoint bottom = edge(iView.lowerRight), side = edge(iView.upperLeft);
    const KORVrcPoint normal{bottom[1] * side[2] - bottom[2] * side[1],
                             bottom[2] * side[0] - bottom[0] * side[2],
                             bottom[0] * side[1] - bottom[1] * side[0]};
    const auto length = [](const KORVrcPoint& iV) {
      return std::sqrt(iV[0] * iV[0] + iV[1] * iV[1] + iV[2] * iV[2]);
    };
    if (length(bottom) < KOREpsilon || length(side) < KOREpsilon ||
        length(normal) < KOREpsilon * length(bottom) * length(side))
      Fail(iPath, "the three corners span no rectangle (lowerLeft equals lowerRight or "
                  "upperLeft, or the two edges are parallel)");
  }

  // Names that must be unique in their group: the second occurrence breaks the rule.
  static void Unique(std::set<std::string>& ioSeen, const std::string& iName,
                     const std::string& iPath, const char* iWhat) {
    if (!ioSeen.insert(iName).second)
      Fail(iPath, std::string("duplicate ") + iWhat + " name " + Quoted(iName));
  }
  // Roles that at most one element of the file may have.
  static void AtMostOne(std::optional<std::string>& ioFirst, const std::string& iPath,
                        const char* iRole) {
    if (ioFirst)
      Fail(iPath, std::string("at most one ") + iRole + " is allowed (already " + *ioFirst + ")");
    ioFirst = iPath;
  }

  void ReadHead(const Json& iValue, const std::string& iPath, KORVrcDescription& ioDescription) {
    ForEachMember(iValue, iPath, {"ipd", "type", "location"},
                  [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
                    if (iKey == "ipd")
                      ioDescription.ipd = NumberWithin(iMember, iAt, 0, 1000, false, true);
                    else if (iKey == "type")
                      ioDescription.headType =
                          Label<KORVrcHeadType>(iMember, iAt, KORVrcHeadTypeLabels);
                    else
                      ioDescription.headLocation = Placement(iMember, iAt);
                  });
  }

  void ReadHand(const Json& iValue, const std::string& iPath, KORVrcDescription& ioDescription) {
    ForEachMember(iValue, iPath, {"type", "location"},
                  [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
                    if (iKey == "type")
                      ioDescription.handType =
                          Label<KORVrcHandDeviceType>(iMember, iAt, KORVrcHandDeviceTypeLabels);
                    else
                      ioDescription.handLocation = Placement(iMember, iAt);
                  });
  }

  KORVrcViewDescription ReadView(const Json& iValue, const std::string& iPath) {
    KORVrcViewDescription view;
    bool shapeSeen = false;
    ForEachMember(
        iValue, iPath, {"name", "screen", "camera"},
        [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
          if (iKey == "name") {
            view.name = Name(iMember, iAt);
            Unique(_viewNamesSeen, view.name, iAt, "view");
            return;
          }
          if (shapeSeen)
            Fail(iAt, "a view has exactly one of \"screen\" and \"camera\"");
          shapeSeen = true;
          view.isCamera = iKey == "camera";
          if (view.isCamera)
            ForEachMember(
                iMember, iAt, {"hfov", "vfov", "hshift", "vshift"},
                [&](const std::string& iAngle, const Json& iNumber, const std::string& iAngleAt) {
                  const bool fov = iAngle == "hfov" || iAngle == "vfov";
                  // The bounds of the view dialog.
                  const double value = fov ? NumberWithin(iNumber, iAngleAt, 0, 180)
                                           : NumberWithin(iNumber, iAngleAt, -90, 90);
                  (iAngle == "hfov"     ? view.hfov
                   : iAngle == "vfov"   ? view.vfov
                   : iAngle == "hshift" ? view.hshift
                                        : view.vshift) = value;
                },
                {"hfov", "vfov", "hshift", "vshift"});
          else
            ForEachMember(
                iMember, iAt, {"upperLeft", "lowerLeft", "lowerRight"},
                [&](const std::string& iCorner, const Json& iPoint, const std::string& iCornerAt) {
                  (iCorner == "upperLeft"   ? view.upperLeft
                   : iCorner == "lowerLeft" ? view.lowerLeft
                                            : view.lowerRight) = Point(iPoint, iCornerAt);
                },
                {"upperLeft", "lowerLeft", "lowerRight"});
          if (!view.isCamera)
            CheckRectangle(view, iAt);
        },
        {"name"});
    if (!shapeSeen)
      Fail(iPath, "a view needs \"screen\" or \"camera\"");
    return view;
  }

  KORVrcIGDescription ReadIG(const Json& iValue, const std::string& iPath) {
    KORVrcIGDescription ig;
    ForEachMember(iValue, iPath, {"name", "pixelWidth", "pixelHeight", "windows"},
                  [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
                    if (iKey == "name") {
                      ig.name = Name(iMember, iAt);
                      if (!KORVrcIsDisplayName(ig.name))
                        Fail(iAt,
                             "must be a display name: optional host, colon, display number, point, "
                             "screen number (\"visu2:0.1\", \":0.0\")");
                      Unique(_igNamesSeen, ig.name, iAt, "image-generator");
                    } else if (iKey == "pixelWidth")
                      ig.pixelWidth = Integer(iMember, iAt, 0, 65535);
                    else if (iKey == "pixelHeight")
                      ig.pixelHeight = Integer(iMember, iAt, 0, 65535);
                    else
                      ForEachItem(iMember, iAt, [&](const Json& iItem, const std::string& iItemAt) {
                        ig.windows.push_back(ReadWindow(iItem, iItemAt));
                      });
                  },
                  {"name"});
    return ig;
  }

  KORVrcWindowDescription ReadWindow(const Json& iValue, const std::string& iPath) {
    KORVrcWindowDescription window;
    ForEachMember(
        iValue, iPath, {"name", "viewport", "view", "rendering", "mirror", "main"},
        [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
          if (iKey == "name") {
            window.name = Name(iMember, iAt);
            Unique(_windowNamesSeen, window.name, iAt, "window");
          } else if (iKey == "viewport")
            ForEachMember(
                iMember, iAt, {"left", "top", "width", "height"},
                [&](const std::string& iSide, const Json& iNumber, const std::string& iSideAt) {
                  const double value = NumberWithin(iNumber, iSideAt, 0, 1, true, true);
                  (iSide == "left"    ? window.left
                   : iSide == "top"   ? window.top
                   : iSide == "width" ? window.width
                                      : window.height) = value;
                });
          else if (iKey == "view") {
            window.view = String(iMember, iAt);
            if (!_viewNames.contains(*window.view))
              Fail(iAt, "names no view of \"views\": " + Quoted(*window.view));
          } else if (iKey == "rendering")
            window.rendering = Label<KORVrcRenderingMode>(iMember, iAt, KORVrcRenderingModeLabels);
          else if (iKey == "mirror")
            window.mirror = Label<KORVrcMirrorMode>(iMember, iAt, KORVrcMirrorModeLabels);
          else if ((window.main = Boolean(iMember, iAt)))
            AtMostOne(_mainWindow, iAt, "main window");
        },
        {"name"});
    return window;
  }

  KORVrcStationDescription ReadStation(const Json& iValue, const std::string& iPath) {
    KORVrcStationDescription station;
    const std::optional<KORVrcTrackingStationType> peekedType =
        PeekLabel(iValue, "type", KORVrcTrackingStationTypeLabels, station.type);
    std::set<int> numbers;
    ForEachMember(
        iValue, iPath, {"name", "type", "daemon", "port", "speed", "reference", "trackers"},
        [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
          if (iKey == "name") {
            station.name = Name(iMember, iAt);
            Unique(_stationNamesSeen, station.name, iAt, "tracking-station");
          } else if (iKey == "type")
            station.type =
                Label<KORVrcTrackingStationType>(iMember, iAt, KORVrcTrackingStationTypeLabels);
          else if (iKey == "daemon")
            station.daemon = Daemon(iMember, iAt);
          else if (iKey == "port")
            station.port = Integer(iMember, iAt, 1, 65535);
          else if (iKey == "speed")
            station.speed = Integer(iMember, iAt, 1, 10000000);
          else if (iKey == "reference")
            station.reference = Placement(iMember, iAt);
          else
            ForEachItem(iMember, iAt, [&](const Json& iItem, const std::string& iItemAt) {
              station.trackers.push_back(ReadTracker(iItem, iItemAt, peekedType, numbers));
            });
        },
        {"name", "daemon"});
    return station;
  }

  KORVrcTrackerDescription ReadTracker(const Json& iValue, const std::string& iPath,
                                       std::optional<KORVrcTrackingStationType> iStationType,
                                       std::set<int>& ioNumbers) {
    KORVrcTrackerDescription tracker;
    // The rules on "viewpoint", "picking" and "best" depend on "tracks", which
    // may come later in the object; an invalid "tracks" is reported on its own.
    const std::optional<int> tracks = PeekLabel(iValue, "tracks", kTracksLabels, 0);
    ForEachMember(
        iValue, iPath, {"number", "tracks", "offset", "viewpoint", "picking", "buttonManager"},
        [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
          if (iKey == "number") {
            tracker.number = Integer(iMember, iAt, 0, 15);
            if (!ioNumbers.insert(tracker.number).second)
              Fail(iAt, "duplicate tracker number " + std::to_string(tracker.number) +
                            " on this station");
          } else if (iKey == "tracks")
            tracker.tracks = static_cast<KORVrcTracks>(Label<int>(iMember, iAt, kTracksLabels));
          else if (iKey == "offset")
            ReadOffset(iMember, iAt, iStationType, tracks, tracker);
          else if (iKey == "viewpoint") {
            if ((tracker.viewpoint = Boolean(iMember, iAt))) {
              if (tracks && *tracks != static_cast<int>(KORVrcTracks::Head))
                Fail(iAt, "only a tracker with \"tracks\": \"head\" can be the viewpoint tracker");
              AtMostOne(_viewpoint, iAt, "viewpoint tracker");
            }
          } else if (iKey == "picking") {
            if ((tracker.picking = Boolean(iMember, iAt))) {
              if (tracks && *tracks != static_cast<int>(KORVrcTracks::Hand))
                Fail(iAt, "only a tracker with \"tracks\": \"hand\" can be the picking tracker");
              AtMostOne(_picking, iAt, "picking tracker");
            }
          } else if ((tracker.buttonManager = Boolean(iMember, iAt)))
            AtMostOne(_buttonManager, iAt, "button manager");
        },
        {"number"});
    return tracker;
  }

  void ReadOffset(const Json& iValue, const std::string& iPath,
                  std::optional<KORVrcTrackingStationType> iStationType, std::optional<int> iTracks,
                  KORVrcTrackerDescription& ioTracker) {
    if (!iValue.is_string()) {
      ioTracker.offset = Placement(iValue, iPath);
      return;
    }
    if (iValue.get<std::string>() != "best")
      Fail(iPath, "must be a placement or \"best\"");
    ioTracker.bestOffset = true;
    // Undecidable while a value it depends on is itself wrong: that value's
    // own error is reported instead.
    if (!iStationType || !iTracks || !_headType || !_handType)
      return;
    const auto tracks = static_cast<KORVrcTracks>(*iTracks);
    if (tracks == KORVrcTracks::None ||
        !_hasBestOffset(*iStationType, tracks, *_headType, *_handType))
      Fail(iPath, "\"best\": the model recommends no offset for this tracker (station type " +
                      Quoted(KORVrcTrackingStationTypeLabels[*iStationType]) + ", tracks " +
                      Quoted(kTracksLabels[*iTracks]) +
                      (tracks == KORVrcTracks::Head
                           ? ", head type " + Quoted(KORVrcHeadTypeLabels[*_headType])
                       : tracks == KORVrcTracks::Hand
                           ? ", hand type " + Quoted(KORVrcHandDeviceTypeLabels[*_handType])
                           : std::string()) +
                      ")");
  }

  KORVrcButtonDeviceDescription ReadButtonDevice(const Json& iValue, const std::string& iPath) {
    KORVrcButtonDeviceDescription device;
    ForEachMember(iValue, iPath, {"name", "type", "daemon", "port", "speed", "buttonManager"},
                  [&](const std::string& iKey, const Json& iMember, const std::string& iAt) {
                    if (iKey == "name") {
                      device.name = Name(iMember, iAt);
                      Unique(_buttonDeviceNamesSeen, device.name, iAt, "button-device");
                    } else if (iKey == "type")
                      device.type =
                          Label<KORVrcButtonDeviceType>(iMember, iAt, KORVrcButtonDeviceTypeLabels);
                    else if (iKey == "daemon")
                      device.daemon = Daemon(iMember, iAt);
                    else if (iKey == "port")
                      device.port = Integer(iMember, iAt, 1, 65535);
                    else if (iKey == "speed")
                      device.speed = Integer(iMember, iAt, 1, 10000000);
                    else if ((device.buttonManager = Boolean(iMember, iAt)))
                      AtMostOne(_buttonManager, iAt, "button manager");
                  },
                  {"name", "daemon"});
    return device;
  }

  const Json& _root;
  const KORVrcBestOffsetQuery& _hasBestOffset;
  std::set<std::string> _viewNames;
  std::optional<KORVrcHeadType> _headType;
  std::optional<KORVrcHandDeviceType> _handType;
  std::set<std::string> _viewNamesSeen, _igNamesSeen, _windowNamesSeen, _stationNamesSeen,
      _buttonDeviceNamesSeen;
  std::optional<std::string> _mainWindow, _viewpoint, _picking, _buttonManager;
};

// --- Writing ---------------------------------------------------------------

template <std::size_t N>
std::string LabelOf(const std::array<std::string_view, N>& iLabels, int iValue) {
  return std::string(iLabels.at(static_cast<std::size_t>(iValue)));
}

// Sets iKey only when iValue differs from the default.
template <class T> void Put(Json& ioObject, const char* iKey, const T& iValue, const T& iDefault) {
  if (!(iValue == iDefault))
    ioObject[iKey] = iValue;
}

Json PlacementJson(const KORVrcPlacement& iPlacement) {
  Json placement = Json::object();
  const std::pair<const char*, double> members[] = {{"x", iPlacement.x}, {"y", iPlacement.y},
                                                    {"z", iPlacement.z}, {"h", iPlacement.h},
                                                    {"p", iPlacement.p}, {"r", iPlacement.r}};
  for (const auto& [key, value] : members)
    Put(placement, key, value, 0.0);
  return placement;
}

void PutPlacement(Json& ioObject, const char* iKey, const KORVrcPlacement& iPlacement,
                  const KORVrcPlacement& iDefault) {
  if (!(iPlacement == iDefault))
    ioObject[iKey] = PlacementJson(iPlacement);
}

Json ViewJson(const KORVrcViewDescription& iView) {
  Json view = {{"name", iView.name}};
  if (iView.isCamera)
    view["camera"] = {{"hfov", iView.hfov},
                      {"vfov", iView.vfov},
                      {"hshift", iView.hshift},
                      {"vshift", iView.vshift}};
  else
    view["screen"] = {{"upperLeft", iView.upperLeft},
                      {"lowerLeft", iView.lowerLeft},
                      {"lowerRight", iView.lowerRight}};
  return view;
}

Json WindowJson(const KORVrcWindowDescription& iWindow) {
  const KORVrcWindowDescription defaults;
  Json window = {{"name", iWindow.name}};
  Json viewport = Json::object();
  Put(viewport, "left", iWindow.left, defaults.left);
  Put(viewport, "top", iWindow.top, defaults.top);
  Put(viewport, "width", iWindow.width, defaults.width);
  Put(viewport, "height", iWindow.height, defaults.height);
  if (!viewport.empty())
    window["viewport"] = viewport;
  if (iWindow.view) {
    window["view"] = *iWindow.view;
    Put(window, "rendering", LabelOf(KORVrcRenderingModeLabels, iWindow.rendering),
        LabelOf(KORVrcRenderingModeLabels, defaults.rendering));
    Put(window, "mirror", LabelOf(KORVrcMirrorModeLabels, iWindow.mirror),
        LabelOf(KORVrcMirrorModeLabels, defaults.mirror));
  }
  Put(window, "main", iWindow.main, false);
  return window;
}

Json IGJson(const KORVrcIGDescription& iIG) {
  const KORVrcIGDescription defaults;
  Json ig = {{"name", iIG.name}};
  Put(ig, "pixelWidth", iIG.pixelWidth, defaults.pixelWidth);
  Put(ig, "pixelHeight", iIG.pixelHeight, defaults.pixelHeight);
  if (!iIG.windows.empty()) {
    Json& windows = ig["windows"] = Json::array();
    for (const KORVrcWindowDescription& window : iIG.windows)
      windows.push_back(WindowJson(window));
  }
  return ig;
}

Json TrackerJson(const KORVrcTrackerDescription& iTracker) {
  Json tracker = {{"number", iTracker.number}};
  Put(tracker, "tracks", std::string(kTracksLabels[static_cast<std::size_t>(iTracker.tracks)]),
      std::string("none"));
  if (iTracker.bestOffset)
    tracker["offset"] = "best";
  else
    PutPlacement(tracker, "offset", iTracker.offset, KORVrcPlacement());
  Put(tracker, "viewpoint", iTracker.viewpoint, false);
  Put(tracker, "picking", iTracker.picking, false);
  Put(tracker, "buttonManager", iTracker.buttonManager, false);
  return tracker;
}

Json StationJson(const KORVrcStationDescription& iStation) {
  const KORVrcStationDescription defaults;
  Json station = {{"name", iStation.name}};
  Put(station, "type", LabelOf(KORVrcTrackingStationTypeLabels, iStation.type),
      LabelOf(KORVrcTrackingStationTypeLabels, defaults.type));
  station["daemon"] = iStation.daemon;
  Put(station, "port", iStation.port, defaults.port);
  Put(station, "speed", iStation.speed, defaults.speed);
  PutPlacement(station, "reference", iStation.reference, defaults.reference);
  if (!iStation.trackers.empty()) {
    Json& trackers = station["trackers"] = Json::array();
    for (const KORVrcTrackerDescription& tracker : iStation.trackers)
      trackers.push_back(TrackerJson(tracker));
  }
  return station;
}

Json ButtonDeviceJson(const KORVrcButtonDeviceDescription& iDevice) {
  const KORVrcButtonDeviceDescription defaults;
  Json device = {{"name", iDevice.name}};
  Put(device, "type", LabelOf(KORVrcButtonDeviceTypeLabels, iDevice.type),
      LabelOf(KORVrcButtonDeviceTypeLabels, defaults.type));
  device["daemon"] = iDevice.daemon;
  Put(device, "port", iDevice.port, defaults.port);
  Put(device, "speed", iDevice.speed, defaults.speed);
  Put(device, "buttonManager", iDevice.buttonManager, false);
  return device;
}

template <class T, class F>
void PutArray(Json& ioObject, const char* iKey, const std::vector<T>& iItems, F iToJson) {
  if (iItems.empty())
    return;
  Json& items = ioObject[iKey] = Json::array();
  for (const T& item : iItems)
    items.push_back(iToJson(item));
}

} // namespace

bool KORVrcReadDescription(const std::string& iText, const KORVrcBestOffsetQuery& iHasBestOffset,
                           KORVrcDescription& oDescription, std::string& oError) {
  // Before the parser, which recurses once per level.
  if (!KORCheckJsonDepth(iText, oError))
    return false;
  DuplicateMemberFinder duplicates;
  Json root;
  try {
    root = Json::parse(iText, std::ref(duplicates));
  } catch (const Json::exception& error) {
    // The reader's own text, without its "[json.exception...] " tag, at the
    // path it was reading (a number too large for a double is one of these).
    std::string what = error.what();
    const std::size_t end = what.find("] ");
    what = end == std::string::npos ? what : what.substr(end + 2);
    const std::string path = duplicates.CurrentPath();
    oError = path.empty() ? what : path + ": " + what;
    return false;
  }
  if (!duplicates.Duplicate().empty()) {
    oError = duplicates.Duplicate() + ": duplicate member";
    return false;
  }
  try {
    oDescription = DescriptionReader(root, iHasBestOffset).Read();
  } catch (const BrokenRule& broken) {
    oError = broken.path + ": " + broken.rule;
    return false;
  }
  return true;
}

std::string KORVrcWriteDescription(const KORVrcDescription& iDescription) {
  const KORVrcDescription defaults;
  Json root = {{"format", KORVrcDescriptionFormat}};
  Put(root, "name", iDescription.name, defaults.name);
  Json head = Json::object();
  Put(head, "ipd", iDescription.ipd, defaults.ipd);
  Put(head, "type", LabelOf(KORVrcHeadTypeLabels, iDescription.headType),
      LabelOf(KORVrcHeadTypeLabels, defaults.headType));
  PutPlacement(head, "location", iDescription.headLocation, defaults.headLocation);
  if (!head.empty())
    root["head"] = head;
  Json hand = Json::object();
  Put(hand, "type", LabelOf(KORVrcHandDeviceTypeLabels, iDescription.handType),
      LabelOf(KORVrcHandDeviceTypeLabels, defaults.handType));
  PutPlacement(hand, "location", iDescription.handLocation, defaults.handLocation);
  if (!hand.empty())
    root["hand"] = hand;
  PutArray(root, "views", iDescription.views, ViewJson);
  PutArray(root, "imageGenerators", iDescription.imageGenerators, IGJson);
  PutArray(root, "trackingStations", iDescription.trackingStations, StationJson);
  PutArray(root, "buttonDevices", iDescription.buttonDevices, ButtonDeviceJson);
  return root.dump(2) + "\n";
}

std::string KORVrcEcho(std::string_view iText) {
  constexpr std::size_t kShown = 64;
  std::string echoed = "\"";
  for (std::size_t at = 0; at < iText.size() && at < kShown; ++at) {
    const char c = iText[at];
    if (c == '"' || c == '\\')
      echoed += std::string("\\") + c;
    else if (c == '\n')
      echoed += "\\n";
    else if (c == '\t')
      echoed += "\\t";
    else if (KORVrcIsControl(c)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
      echoed += escaped;
    } else
      echoed += c;
  }
  echoed += "\"";
  if (iText.size() > kShown)
    echoed += "... (" + std::to_string(iText.size()) + " characters)";
  return echoed;
}
