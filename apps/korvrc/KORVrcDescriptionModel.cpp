#include "KORVrcDescriptionModel.h"

#include "featurestore/KORDocument.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcOrientation.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcWindow.h"

#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <tuple>

namespace {

// A model operation that failed; thrown inside this file only, caught at the
// entry points, so that every step reads as one line.
struct StepFailed {
  std::string what;
};

void Check(HRESULT iResult, const std::string& iWhat) {
  if (FAILED(iResult))
    throw StepFailed{iWhat};
}

std::string Quoted(const std::string& iText) {
  return "\"" + iText + "\"";
}

constexpr double kDegree = std::numbers::pi / 180;

// Rounded to 1e-9 degree, and never -0, so that degrees come back as written.
double CleanDegrees(double iDegrees) {
  return std::round(iDegrees * 1e9) / 1e9 + 0.0;
}

// Both designate the same element: the object model's identity.
bool SameElement(KORBaseUnknown* iFirst, KORBaseUnknown* iSecond) {
  if (!iFirst || !iSecond)
    return iFirst == iSecond;
  return KORQuery<KORBaseUnknown>(iFirst).get() == KORQuery<KORBaseUnknown>(iSecond).get();
}

// The model's heading-pitch-roll convention, asked of the factory's document.
KORIVrcOrientation_var OrientationOf(KORIVrcFactory* iFactory) {
  KORIVrcOrientation_var orientation = KORQuery<KORIVrcOrientation>(iFactory);
  if (!orientation)
    throw StepFailed{"finding the orientation convention of the document"};
  return orientation;
}

KORMathTransformation ToTransformation(KORIVrcOrientation* iOrientation,
                                       const KORVrcPlacement& iPlacement) {
  KORMath3x3Matrix rotation;
  Check(iOrientation->HPRToMatrix(iPlacement.h, iPlacement.p, iPlacement.r, rotation),
        "converting a placement");
  return KORMathTransformation(rotation, KORMathVector(iPlacement.x, iPlacement.y, iPlacement.z));
}

KORVrcPlacement ToPlacement(KORIVrcOrientation* iOrientation,
                            const KORMathTransformation& iTransformation) {
  KORVrcPlacement placement;
  Check(
      iOrientation->MatrixToHPR(iTransformation.GetMatrix(), placement.h, placement.p, placement.r),
      "converting a placement");
  placement.h = CleanDegrees(placement.h);
  placement.p = CleanDegrees(placement.p);
  placement.r = CleanDegrees(placement.r);
  placement.x = iTransformation.GetVector().GetX() + 0.0;
  placement.y = iTransformation.GetVector().GetY() + 0.0;
  placement.z = iTransformation.GetVector().GetZ() + 0.0;
  return placement;
}

template <class I> KORSmartPtr<I> Required(KORSmartPtr<I> iPointer, const std::string& iWhat) {
  if (!iPointer)
    throw StepFailed{iWhat};
  return iPointer;
}

template <class I> std::vector<KORSmartPtr<I>> Elements(KORListValKORBaseUnknown_var* iList) {
  std::unique_ptr<KORListValKORBaseUnknown_var> owned(iList);
  std::vector<KORSmartPtr<I>> elements;
  if (owned)
    for (const KORBaseUnknown_var& entry : *owned)
      if (KORSmartPtr<I> element = KORQuery<I>(entry))
        elements.push_back(element);
  return elements;
}

// An unreadable name is described as empty, which the reader refuses.
std::string NameOf(KORIVrcElement* iElement) {
  KORUnicodeString name;
  if (FAILED(iElement->GetName(name)))
    name.clear();
  return name;
}

// --- Building --------------------------------------------------------------

class Builder {
public:
  Builder(const KORVrcDescription& iDescription, KORIVrcFactory* iFactory)
      : _description(iDescription), _factory(iFactory), _orientation(OrientationOf(iFactory)) {}

  void Build() {
    KORIVrcConfig_var config;
    Check(_factory->RetrieveConfig(config.Out()), "retrieving the configuration root");
    Check(config->SetName(_description.name), "naming the configuration");
    Check(_factory->RetrieveHead(_head.Out()), "retrieving the head");
    Check(_head->SetIPD(_description.ipd), "setting the head's ipd");
    Check(_head->SetType(_description.headType), "setting the head's type");
    Check(TrackedElement(_head)->SetLocation(
              ToTransformation(_orientation, _description.headLocation)),
          "setting the head's location");
    Check(_factory->RetrieveHandDevice(_hand.Out()), "retrieving the hand device");
    Check(_hand->SetType(_description.handType), "setting the hand device's type");
    Check(TrackedElement(_hand)->SetLocation(
              ToTransformation(_orientation, _description.handLocation)),
          "setting the hand device's location");
    for (const KORVrcViewDescription& view : _description.views)
      BuildView(view);
    for (const KORVrcIGDescription& ig : _description.imageGenerators)
      BuildIG(ig);
    for (const KORVrcStationDescription& station : _description.trackingStations)
      BuildStation(station);
    for (const KORVrcButtonDeviceDescription& device : _description.buttonDevices)
      BuildButtonDevice(device);
    if (_buttonManagerTracker)
      Check(_hand->SetButtonManager(_buttonManagerTracker.get()), "setting the button manager");
    else if (_buttonManagerDevice)
      Check(_hand->SetButtonManager(_buttonManagerDevice.get()), "setting the button manager");
  }

private:
  template <class I>
  static KORIVrcTrackedElement_var TrackedElement(const KORSmartPtr<I>& iElement) {
    return Required(KORQuery<KORIVrcTrackedElement>(iElement), "finding a tracked element");
  }

  void BuildView(const KORVrcViewDescription& iView) {
    const std::string what = "creating the view " + Quoted(iView.name);
    KORIVrcView_var view;
    if (iView.isCamera) {
      KORIVrcCameraView_var camera;
      Check(_factory->CreateCameraView(iView.name, iView.hfov * kDegree, iView.hshift * kDegree,
                                       iView.vfov * kDegree, iView.vshift * kDegree, camera.Out()),
            what);
      view = KORQuery<KORIVrcView>(camera);
    } else {
      const auto& [ul, ll, lr] = std::tie(iView.upperLeft, iView.lowerLeft, iView.lowerRight);
      KORIVrcProjectionArea_var area;
      Check(_factory->CreateProjectionArea(ul[0], ul[1], ul[2], ll[0], ll[1], ll[2], lr[0], lr[1],
                                           lr[2], area.Out()),
            what);
      KORIVrcScreenView_var screen;
      Check(_factory->CreateScreenView(iView.name, area, screen.Out()), what);
      view = KORQuery<KORIVrcView>(screen);
    }
    _views[iView.name] = Required(view, what);
  }

  void BuildIG(const KORVrcIGDescription& iIG) {
    KORIVrcIG_var ig;
    Check(_factory->CreateIG(iIG.name, iIG.pixelWidth, iIG.pixelHeight, ig.Out()),
          "creating the image generator " + Quoted(iIG.name));
    for (const KORVrcWindowDescription& window : iIG.windows)
      BuildWindow(window, ig);
  }

  void BuildWindow(const KORVrcWindowDescription& iWindow, KORIVrcIG* iIG) {
    const std::string what = "creating the window " + Quoted(iWindow.name);
    KORIVrcViewport_var viewport;
    Check(_factory->CreateViewport(iWindow.left, iWindow.top, iWindow.width, iWindow.height,
                                   viewport.Out()),
          what);
    KORIVrcWindow_var window;
    Check(_factory->CreateVrcWindow(iWindow.name, viewport, iIG, window.Out()), what);
    if (iWindow.view) {
      KORIVrcRenderingSpec_var spec;
      Check(_factory->CreateRenderingSpec(iWindow.rendering, iWindow.mirror, spec.Out()), what);
      KORIVrcRendering_var rendering;
      Check(_factory->CreateRendering(iWindow.name, spec, _views.at(*iWindow.view), window,
                                      rendering.Out()),
            what);
    }
    if (iWindow.main) {
      KORIVrcGraphicResources_var resources;
      Check(_factory->RetrieveGraphicResources(resources.Out()), what);
      Check(resources->SetMainWindow(window), "making " + Quoted(iWindow.name) + " main");
    }
  }

  void BuildStation(const KORVrcStationDescription& iStation) {
    const std::string what = "creating the tracking station " + Quoted(iStation.name);
    KORIVrcTrackingStation_var station;
    Check(_factory->CreateTrackingStation(iStation.type, iStation.name, station.Out()), what);
    Check(station->SetType(iStation.type), what);
    Check(station->SetRef(ToTransformation(_orientation, iStation.reference)), what);
    Check(station->SetPort(iStation.port), what);
    Check(station->SetSpeed(iStation.speed), what);
    Check(station->SetDaemonName(iStation.daemon), what);
    for (const KORVrcTrackerDescription& tracker : iStation.trackers)
      BuildTracker(tracker, station, iStation.name);
  }

  void BuildTracker(const KORVrcTrackerDescription& iTracker, KORIVrcTrackingStation* iStation,
                    const std::string& iStationName) {
    const std::string what =
        "creating the tracker " + std::to_string(iTracker.number) + " of " + Quoted(iStationName);
    KORIVrcTracker_var tracker;
    Check(_factory->CreateTracker(std::to_string(iTracker.number), tracker.Out(), iStation), what);
    if (iTracker.tracks == KORVrcTracks::Head)
      Check(tracker->SetTrackedElement(TrackedElement(_head).get()), what);
    else if (iTracker.tracks == KORVrcTracks::Hand)
      Check(tracker->SetTrackedElement(TrackedElement(_hand).get()), what);
    if (iTracker.viewpoint)
      Check(_head->SetViewPointTracker(tracker), what);
    if (iTracker.picking)
      Check(_hand->SetPickingTracker(tracker), what);
    KORMathTransformation offset = ToTransformation(_orientation, iTracker.offset);
    if (iTracker.bestOffset)
      Check(tracker->GetBestOffset(offset), what + ": no recommended offset");
    Check(tracker->SetOffset(offset), what);
    if (iTracker.buttonManager)
      _buttonManagerTracker = tracker;
  }

  void BuildButtonDevice(const KORVrcButtonDeviceDescription& iDevice) {
    const std::string what = "creating the button device " + Quoted(iDevice.name);
    KORIVrcButtonDevice_var device;
    Check(_factory->CreateButtonDevice(iDevice.type, iDevice.name, device.Out()), what);
    Check(device->SetType(iDevice.type), what);
    Check(device->SetDaemonName(iDevice.daemon), what);
    Check(device->SetPort(iDevice.port), what);
    Check(device->SetSpeed(iDevice.speed), what);
    if (iDevice.buttonManager)
      _buttonManagerDevice = device;
  }

  const KORVrcDescription& _description;
  KORIVrcFactory* _factory;
  KORIVrcOrientation_var _orientation;
  KORIVrcHead_var _head;
  KORIVrcHandDevice_var _hand;
  std::map<std::string, KORIVrcView_var> _views;
  KORIVrcTracker_var _buttonManagerTracker;
  KORIVrcButtonDevice_var _buttonManagerDevice;
};

// --- Describing ------------------------------------------------------------

// A port or line speed of 0 was never set: a new station or button device
// holds 0, and so does one whose dialog never had its port chosen. The format
// has no 0 for either; such a value is described by the format's default,
// which the import then sets.
template <class Described>
void DescribeUnsetAsDefault(int& ioPort, int& ioSpeed, const Described& iDefaults) {
  if (ioPort == 0)
    ioPort = iDefaults.port;
  if (ioSpeed == 0)
    ioSpeed = iDefaults.speed;
}

class Describer {
public:
  explicit Describer(KORIVrcFactory* iFactory)
      : _factory(iFactory), _orientation(OrientationOf(iFactory)) {}

  KORVrcDescription Describe() {
    KORVrcDescription description;
    KORIVrcConfig_var config;
    Check(_factory->RetrieveConfig(config.Out()), "retrieving the configuration root");
    description.name = NameOf(config);
    Check(_factory->RetrieveHead(_head.Out()), "retrieving the head");
    Check(_head->GetIPD(&description.ipd), "reading the head's ipd");
    Check(_head->GetType(&description.headType), "reading the head's type");
    description.headLocation = Location(_head);
    Check(_factory->RetrieveHandDevice(_hand.Out()), "retrieving the hand device");
    Check(_hand->GetType(&description.handType), "reading the hand device's type");
    description.handLocation = Location(_hand);

    KORIVrcGraphicSpecs_var specs;
    Check(_factory->RetrieveGraphicSpecs(specs.Out()), "retrieving the graphic specifications");
    KORListValKORBaseUnknown_var* views = nullptr;
    Check(specs->GetViews(&views), "listing the views");
    for (const KORIVrcView_var& view : Elements<KORIVrcView>(views))
      description.views.push_back(DescribeView(view));

    KORIVrcGraphicResources_var resources;
    Check(_factory->RetrieveGraphicResources(resources.Out()), "retrieving the graphic resources");
    KORIgnoreResult(resources->GetMainWindow(_mainWindow.Out()),
                    "without a main window none is described as main");
    KORListValKORBaseUnknown_var* igs = nullptr;
    Check(resources->GetIGs(&igs), "listing the image generators");
    for (const KORIVrcIG_var& ig : Elements<KORIVrcIG>(igs))
      description.imageGenerators.push_back(DescribeIG(ig));

    KORIVrcDevices_var devices;
    Check(_factory->RetrieveDevices(devices.Out()), "retrieving the devices");
    KORListValKORBaseUnknown_var* stations = nullptr;
    Check(devices->GetTrackingStations(&stations), "listing the tracking stations");
    for (const KORIVrcTrackingStation_var& station : Elements<KORIVrcTrackingStation>(stations))
      description.trackingStations.push_back(DescribeStation(station));
    KORListValKORBaseUnknown_var* buttonDevices = nullptr;
    Check(devices->GetButtonDevices(&buttonDevices), "listing the button devices");
    for (const KORIVrcButtonDevice_var& device : Elements<KORIVrcButtonDevice>(buttonDevices))
      description.buttonDevices.push_back(DescribeButtonDevice(device));
    return description;
  }

private:
  template <class I> KORVrcPlacement Location(const KORSmartPtr<I>& iElement) {
    KORMathTransformation location;
    Check(Required(KORQuery<KORIVrcTrackedElement>(iElement), "finding a tracked element")
              ->GetLocation(location),
          "reading a location");
    return ToPlacement(_orientation, location);
  }

  static KORVrcViewDescription DescribeView(KORIVrcView* iView) {
    KORVrcViewDescription view;
    view.name = NameOf(iView);
    const std::string what = "reading the view " + Quoted(view.name);
    if (KORIVrcCameraView_var camera = KORQuery<KORIVrcCameraView>(iView)) {
      view.isCamera = true;
      Check(camera->GetAngles(view.hfov, view.hshift, view.vfov, view.vshift), what);
      for (double* angle : {&view.hfov, &view.hshift, &view.vfov, &view.vshift})
        *angle = CleanDegrees(*angle / kDegree);
      return view;
    }
    KORIVrcProjectionArea_var area;
    Check(Required(KORQuery<KORIVrcScreenView>(iView), what)->GetProjectionArea(area.Out()), what);
    Check(area->GetUpperLeft(&view.upperLeft[0], &view.upperLeft[1], &view.upperLeft[2]), what);
    Check(area->GetLowerLeft(&view.lowerLeft[0], &view.lowerLeft[1], &view.lowerLeft[2]), what);
    Check(area->GetLowerRight(&view.lowerRight[0], &view.lowerRight[1], &view.lowerRight[2]), what);
    return view;
  }

  KORVrcIGDescription DescribeIG(KORIVrcIG* iIG) {
    KORVrcIGDescription ig;
    ig.name = NameOf(iIG);
    const std::string what = "reading the image generator " + Quoted(ig.name);
    Check(iIG->GetPixelWidth(&ig.pixelWidth), what);
    Check(iIG->GetPixelHeight(&ig.pixelHeight), what);
    KORListValKORBaseUnknown_var* windows = nullptr;
    Check(iIG->GetWindows(&windows), what);
    for (const KORIVrcWindow_var& window : Elements<KORIVrcWindow>(windows))
      ig.windows.push_back(DescribeWindow(window));
    return ig;
  }

  KORVrcWindowDescription DescribeWindow(KORIVrcWindow* iWindow) {
    KORVrcWindowDescription window;
    window.name = NameOf(iWindow);
    const std::string what = "reading the window " + Quoted(window.name);
    KORIVrcViewport_var viewport;
    Check(iWindow->GetViewport(viewport.Out()), what);
    Check(viewport->GetViewport(&window.left, &window.top, &window.width, &window.height), what);
    KORIVrcView_var view;
    KORIVrcRenderingSpec_var spec;
    if (SUCCEEDED(iWindow->GetView(view.Out()))) {
      window.view = NameOf(view);
      Check(iWindow->GetRenderingSpec(spec.Out()), what);
      Check(spec->GetRenderingMode(&window.rendering), what);
      Check(spec->GetMirrorMode(&window.mirror), what);
    }
    window.main = _mainWindow && SameElement(_mainWindow, iWindow);
    return window;
  }

  KORVrcStationDescription DescribeStation(KORIVrcTrackingStation* iStation) {
    KORVrcStationDescription station;
    station.name = NameOf(iStation);
    const std::string what = "reading the tracking station " + Quoted(station.name);
    Check(iStation->GetType(station.type), what);
    Check(iStation->GetDaemonName(station.daemon), what);
    Check(iStation->GetPort(station.port), what);
    Check(iStation->GetSpeed(station.speed), what);
    DescribeUnsetAsDefault(station.port, station.speed, KORVrcStationDescription());
    KORMathTransformation reference;
    Check(iStation->GetRef(reference), what);
    station.reference = ToPlacement(_orientation, reference);
    KORListValKORBaseUnknown_var* trackers = nullptr;
    Check(iStation->GetTrackers(&trackers), what);
    for (const KORIVrcTracker_var& tracker : Elements<KORIVrcTracker>(trackers))
      station.trackers.push_back(DescribeTracker(tracker, station.name));
    return station;
  }

  KORVrcTrackerDescription DescribeTracker(KORIVrcTracker* iTracker,
                                           const std::string& iStationName) {
    KORVrcTrackerDescription tracker;
    const std::string name = NameOf(iTracker);
    const std::string what = "the tracker " + Quoted(name) + " of " + Quoted(iStationName);
    const auto [end, error] =
        std::from_chars(name.data(), name.data() + name.size(), tracker.number);
    if (error != std::errc() || end != name.data() + name.size() || tracker.number < 0 ||
        tracker.number > 15)
      throw StepFailed{what + " is not named by a number from 0 to 15"};
    KORIVrcTrackedElement_var followed;
    if (SUCCEEDED(iTracker->GetTrackedElement(followed.Out()))) {
      if (SameElement(followed, _head))
        tracker.tracks = KORVrcTracks::Head;
      else if (SameElement(followed, _hand))
        tracker.tracks = KORVrcTracks::Hand;
      else
        throw StepFailed{what + " follows an element other than the head and the hand device"};
    }
    KORMathTransformation offset, best;
    Check(iTracker->GetOffset(offset), "reading " + what);
    // Exact equality only: a nearly equal offset keeps its own digits.
    tracker.bestOffset = SUCCEEDED(iTracker->GetBestOffset(best)) && offset.IsEqual(best, 0.0);
    tracker.offset = tracker.bestOffset ? KORVrcPlacement() : ToPlacement(_orientation, offset);
    KORIVrcTracker_var viewpoint, picking;
    tracker.viewpoint =
        SUCCEEDED(_head->GetViewPointTracker(viewpoint.Out())) && SameElement(viewpoint, iTracker);
    tracker.picking =
        SUCCEEDED(_hand->GetPickingTracker(picking.Out())) && SameElement(picking, iTracker);
    tracker.buttonManager = _hand->IsButtonManager(iTracker);
    return tracker;
  }

  KORVrcButtonDeviceDescription DescribeButtonDevice(KORIVrcButtonDevice* iDevice) {
    KORVrcButtonDeviceDescription device;
    device.name = NameOf(iDevice);
    const std::string what = "reading the button device " + Quoted(device.name);
    Check(iDevice->GetType(device.type), what);
    Check(iDevice->GetDaemonName(device.daemon), what);
    Check(iDevice->GetPort(device.port), what);
    Check(iDevice->GetSpeed(device.speed), what);
    DescribeUnsetAsDefault(device.port, device.speed, KORVrcButtonDeviceDescription());
    device.buttonManager = _hand->IsButtonManager(iDevice);
    return device;
  }

  KORIVrcFactory* _factory;
  KORIVrcOrientation_var _orientation;
  KORIVrcHead_var _head;
  KORIVrcHandDevice_var _hand;
  KORIVrcWindow_var _mainWindow;
};

bool AskScratchDocument(KORVrcTrackingStationType iStationType, KORVrcTracks iTracks,
                        KORVrcHeadType iHeadType, KORVrcHandDeviceType iHandType) {
  KORSmartPtr<KORDocument> scratch = KORDocument::Create();
  KORIVrcFactory_var factory = KORQuery<KORIVrcFactory>(scratch);
  KORIVrcHead_var head;
  KORIVrcHandDevice_var hand;
  KORIVrcTrackingStation_var station;
  KORIVrcTracker_var tracker;
  if (!factory || FAILED(factory->RetrieveHead(head.Out())) ||
      FAILED(factory->RetrieveHandDevice(hand.Out())) || FAILED(head->SetType(iHeadType)) ||
      FAILED(hand->SetType(iHandType)) ||
      FAILED(factory->CreateTrackingStation(iStationType, "Probe", station.Out())) ||
      FAILED(station->SetType(iStationType)) ||
      FAILED(factory->CreateTracker("0", tracker.Out(), station)))
    return false;
  KORIVrcTrackedElement_var followed = iTracks == KORVrcTracks::Head
                                           ? KORQuery<KORIVrcTrackedElement>(head)
                                           : KORQuery<KORIVrcTrackedElement>(hand);
  KORMathTransformation offset;
  return followed && SUCCEEDED(tracker->SetTrackedElement(followed)) &&
         SUCCEEDED(tracker->GetBestOffset(offset));
}

} // namespace

HRESULT KORVrcBuildDescription(const KORVrcDescription& iDescription, KORIVrcFactory* iFactory,
                               std::string& oError) {
  if (!iFactory)
    return E_INVALIDARG;
  try {
    Builder(iDescription, iFactory).Build();
  } catch (const StepFailed& failure) {
    oError = failure.what + " failed";
    return E_FAIL;
  }
  return S_OK;
}

HRESULT KORVrcDescribe(KORIVrcFactory* iFactory, KORVrcDescription& oDescription,
                       std::string& oError) {
  if (!iFactory)
    return E_INVALIDARG;
  try {
    oDescription = Describer(iFactory).Describe();
  } catch (const StepFailed& failure) {
    oError = failure.what;
    return E_FAIL;
  }
  return S_OK;
}

bool KORVrcModelHasBestOffset(KORVrcTrackingStationType iStationType, KORVrcTracks iTracks,
                              KORVrcHeadType iHeadType, KORVrcHandDeviceType iHandType) {
  if (iTracks == KORVrcTracks::None)
    return false;
  // Only the followed element's type matters; the other is left out of the key.
  const int elementType =
      iTracks == KORVrcTracks::Head ? static_cast<int>(iHeadType) : static_cast<int>(iHandType);
  static std::map<std::tuple<int, KORVrcTracks, int>, bool> answers;
  const auto key = std::make_tuple(static_cast<int>(iStationType), iTracks, elementType);
  auto found = answers.find(key);
  if (found == answers.end())
    found =
        answers.emplace(key, AskScratchDocument(iStationType, iTracks, iHeadType, iHandType)).first;
  return found->second;
}
