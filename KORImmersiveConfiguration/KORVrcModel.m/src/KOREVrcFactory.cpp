#include "KOREVrcFactory.h"

#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORIContainer.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORIRedrawEvent.h"
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
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcVisuRefreshOnElement.h"
#include "interfaces/KORIVrcWindow.h"

namespace {
void Trace(const char* iLine) {
  KORVrcModelTrace().Write(iLine);
}

// A setter's result in the creation status: a failure is traced and makes
// the creation fail, while the following steps still run.
void Check(HRESULT iResult, HRESULT& ioStatus, const char* iMessage = nullptr) {
  if (SUCCEEDED(iResult))
    return;
  if (iMessage)
    Trace(iMessage);
  ioStatus = E_FAIL;
}

// Writes the end trace line when the creation returns.
class EndTrace {
public:
  explicit EndTrace(const char* iLine) : _line(iLine) {}
  ~EndTrace() {
    if (_line)
      Trace(_line);
  }
  EndTrace(const EndTrace&) = delete;
  EndTrace& operator=(const EndTrace&) = delete;

private:
  const char* _line;
};

// Gives the made element to the caller, whatever the setters said.
template <class I> HRESULT Give(const KORSmartPtr<I>& iElement, I** oElement, HRESULT iStatus) {
  *oElement = iElement.get();
  if (*oElement)
    (*oElement)->AddRef();
  return iStatus;
}
} // namespace

KOREVrcFactory::KOREVrcFactory() {
  Trace("KOREVrcFactory - Constructor");
}
KOREVrcFactory::~KOREVrcFactory() {
  Trace("KOREVrcFactory - Destructor");
}

template <class I>
HRESULT KOREVrcFactory::Instantiate(const char* iStartup, const char* iType,
                                    KORSmartPtr<I>& oElement) {
  KORIContainer_var container;
  if (FAILED(RetrieveVrcContainer(container.Out()))) {
    Trace("VRC Container NOT FOUND");
    return E_FAIL;
  }
  KORIStartUp_var startup;
  KORISpecObject_var feature;
  if (FAILED(KORFindStartUp(container, I::IID.name, iStartup, iType, startup.Out())) ||
      FAILED(startup->Instantiate(container, "", feature.Out())))
    return E_FAIL;
  oElement = KORQuery<I>(feature);
  return oElement ? S_OK : E_FAIL;
}

HRESULT KOREVrcFactory::RetrieveVrcContainer(KORIContainer** oContainer) {
  if (!oContainer)
    return E_FAIL;
  *oContainer = nullptr;
  KORIContainer_var found;
  KORBaseUnknown_var root;
  if (auto document = QueryImpl<KORIDocument>()) {
    if (FAILED(document->GetRootContainer(root.Out())))
      return E_FAIL;
    auto compound = KORQuery<KORICompoundContainer>(root);
    KORListValKORBaseUnknown_var* listed = nullptr;
    if (!compound || FAILED(compound->ListContainers(KORIContainer::IID, &listed)))
      return E_FAIL;
    const KOROwnedList containers(listed);
    for (const KORBaseUnknown_var& entry : *containers) {
      auto container = KORQuery<KORIContainer>(entry);
      if (container && container->IsAKindOf("VrcContainer"))
        found = container;
    }
  } else if (auto element = QueryImpl<KORISpecObject>(); element && QueryImpl<KORIVrcElement>()) {
    KORIgnoreResult(element->GetContainer(found.Out()), KORVrcNullWhenUnread);
  } else {
    Trace("InitVrcContainer : error : not a document nor a VrcElement");
    return E_FAIL;
  }
  if (!found && root && FAILED(MakeContainer(root, found.Out()))) {
    Trace("KORIVrcFactory::RetrieveVrcContainer failed");
    return E_FAIL;
  }
  return KORReturn(found, oContainer);
}

HRESULT KOREVrcFactory::MakeContainer(KORBaseUnknown* iRoot, KORIContainer** oContainer) {
  auto containers = KORQuery<KORIFactoryOfContainers>(iRoot);
  KORIContainer_var container;
  if (!containers ||
      FAILED(containers->CreateContainer("VrcContainer", "KORFeatCont", container.Out())))
    return E_FAIL;
  HRESULT status = S_OK;
  if (auto userId = KORQuery<KORIUserId>(container))
    Check(userId->SetUserId("VRConfig"), status, "Cannot set the user id of VrcContainer");
  Check(container->SpecBindNativeFormat("VrcContainer"), status,
        "Cannot bind the native format of VrcContainer");
  if (auto catalogs = KORQuery<KORICatalogManager>(container))
    Check(catalogs->OpenCatalog("KORVrc.KORfct"), status, "Cannot open the catalog KORVrc.KORfct");
  if (auto document = KORGetImplementationAs<KORDocument>(GetImpl()))
    document->AddTransactionsOnNewContainers(container);
  if (auto rootEvents = KORQuery<KORIModelEvents>(iRoot)) {
    KORIgnoreResult(rootEvents->ConnectTo(container), KORVrcEventNotDelivered);
    KORCreate created(container, iRoot);
    KORIgnoreResult(rootEvents->Dispatch(created), KORVrcEventNotDelivered);
  } else {
    Trace("Connect : container does not implement KORIModelEvents");
  }
  if (auto redraw = KORQuery<KORIRedrawEvent>(iRoot))
    KORIgnoreResult(redraw->Redraw(), KORVrcEventNotDelivered);
  // Out before the default configuration: its creations look the container up.
  *oContainer = container.Detach();
  KORIVrcConfig_var config;
  Check(CreateConfig("Config", config.Out()), status, "Cannot create the default configuration");
  return status;
}

HRESULT KOREVrcFactory::CreateConfig(const KORUnicodeString& iName, KORIVrcConfig** oConfig) {
  Trace("{ Start of: KOREVrcFactory::CreateConfig()");
  EndTrace end("} End of factory::CreateConfig()");
  if (!oConfig)
    return E_FAIL;
  *oConfig = nullptr;
  KORIVrcConfig_var config;
  HRESULT status = Instantiate("VrcConfig", "KORVrcConfig", config);
  if (!config)
    return status;
  Check(config->SetName(iName), status, "Cannot set Name");
  KORIContainer_var container;
  Check(RetrieveVrcContainer(container.Out()), status, "Cannot find VrcContainer");
  if (auto refresh = KORQuery<KORIVrcVisuRefreshOnElement>(config)) {
    KORIgnoreResult(refresh->Connect(container), KORVrcEventNotDelivered);
    KORIgnoreResult(refresh->NotifyCreate(container), KORVrcEventNotDelivered);
  } else {
    Trace("KORIVrcVisuRefreshOnElement interface NOT FOUND on VrcContainer");
  }
  if (auto redraw = KORQuery<KORIRedrawEvent>(container))
    KORIgnoreResult(redraw->Redraw(), KORVrcEventNotDelivered);
  KORIVrcGraphicResources_var resources;
  Check(CreateGraphicResources(resources.Out()), status,
        "Cannot set GraphicResources on VrcConfig");
  KORIVrcGraphicSpecs_var specs;
  Check(CreateGraphicSpecs(specs.Out()), status, "Cannot set GraphicSpecs on VrcConfig");
  KORIVrcDevices_var devices;
  Check(CreateDevices(devices.Out()), status, "Cannot set Devices on VrcConfig");
  return Give(config, oConfig, status);
}

HRESULT KOREVrcFactory::CreateGraphicResources(KORIVrcGraphicResources** oGraphicResources) {
  Trace("{ Start of: KOREVrcFactory::CreateGraphicResources");
  EndTrace end("} End of factory::Create GraphicResources()");
  if (!oGraphicResources)
    return E_FAIL;
  *oGraphicResources = nullptr;
  KORIVrcGraphicResources_var resources;
  HRESULT status = Instantiate("VrcGraphicResources", "KORVrcGraphicResources", resources);
  if (!resources)
    return status;
  Check(resources->SetMainWindow(nullptr), status, "Cannot set main window");
  KORIVrcConfig_var config;
  if (SUCCEEDED(RetrieveConfig(config.Out())))
    Check(config->SetGraphicResources(resources), status);
  return Give(resources, oGraphicResources, status);
}

HRESULT KOREVrcFactory::CreateGraphicSpecs(KORIVrcGraphicSpecs** oGraphicSpecs) {
  Trace("{ Start of: KOREVrcFactory::CreateGraphicSpecs");
  EndTrace end("} End of factory::Create GraphicSpecs()");
  if (!oGraphicSpecs)
    return E_FAIL;
  *oGraphicSpecs = nullptr;
  KORIVrcGraphicSpecs_var specs;
  HRESULT status = Instantiate("VrcGraphicSpecs", "KORVrcGraphicSpecs", specs);
  if (!specs)
    return status;
  KORIVrcConfig_var config;
  if (SUCCEEDED(RetrieveConfig(config.Out())))
    Check(config->SetGraphicSpecs(specs), status);
  KORIVrcHead_var head;
  Check(CreateHead(57.0, nullptr, KORMathTransformation(), head.Out()), status);
  return Give(specs, oGraphicSpecs, status);
}

HRESULT KOREVrcFactory::CreateDevices(KORIVrcDevices** oDevices) {
  EndTrace end("} End of factory::Create Devices()");
  if (!oDevices)
    return E_FAIL;
  *oDevices = nullptr;
  KORIVrcDevices_var devices;
  HRESULT status = Instantiate("VrcDevices", "KORVrcDevices", devices);
  if (!devices)
    return status;
  KORIVrcConfig_var config;
  if (SUCCEEDED(RetrieveConfig(config.Out())))
    Check(config->SetDevices(devices), status);
  const KORMathTransformation handLocation(KORMath3x3Matrix(), KORMathVector(500, -400, -750));
  KORIVrcHandDevice_var hand;
  Check(CreateHandDevice(KORVrcHandCustom, nullptr, handLocation, hand.Out()), status);
  return Give(devices, oDevices, status);
}

HRESULT KOREVrcFactory::CreateHead(double iIPD, KORIVrcTracker* iTracker,
                                   const KORMathTransformation& iLocation, KORIVrcHead** oHead) {
  Trace("{ Start of: KOREVrcFactory::CreateHead()");
  EndTrace end("} End of factory::CreateHead()");
  if (!oHead)
    return E_FAIL;
  *oHead = nullptr;
  KORIVrcHead_var head;
  HRESULT status = Instantiate("VrcHead", "KORVrcHead", head);
  if (!head)
    return status;
  auto tracked = KORQuery<KORIVrcTrackedElement>(head);
  Check(tracked ? tracked->SetName("Head") : E_FAIL, status, "Cannot set Name");
  Check(head->SetIPD(iIPD), status, "Cannot set IPD");
  Check(head->SetType(KORVrcHeadCustom), status, "Cannot set Type");
  Check(head->SetViewPointTracker(iTracker), status, "Cannot set ViewPoint Tracker");
  Check(tracked ? tracked->SetLocation(iLocation) : E_FAIL, status, "Cannot set Location");
  KORIVrcGraphicSpecs_var specs;
  if (SUCCEEDED(RetrieveGraphicSpecs(specs.Out())))
    Check(specs->AddHead(head), status);
  return Give(head, oHead, status);
}

HRESULT KOREVrcFactory::CreateHandDevice(KORVrcHandDeviceType iType, KORIVrcTracker* iTracker,
                                         const KORMathTransformation& iLocation,
                                         KORIVrcHandDevice** oHandDevice) {
  Trace("} Start of factory::CreateHandDevice()");
  EndTrace end("} End of factory::CreateHandDevice()");
  if (!oHandDevice)
    return E_FAIL;
  *oHandDevice = nullptr;
  KORIVrcHandDevice_var hand;
  HRESULT status = Instantiate("VrcHandDevice", "KORVrcHandDevice", hand);
  if (!hand)
    return status;
  auto tracked = KORQuery<KORIVrcTrackedElement>(hand);
  Check(tracked ? tracked->SetName("Hand") : E_FAIL, status, "Cannot set Name");
  Check(hand->SetType(iType), status, "Cannot set Type");
  Check(hand->SetPickingTracker(iTracker), status, "Cannot set PickingTracker");
  Check(tracked ? tracked->SetLocation(iLocation) : E_FAIL, status, "Cannot set Location");
  KORIVrcDevices_var devices;
  if (SUCCEEDED(RetrieveDevices(devices.Out())))
    Check(devices->AddHandDevice(hand), status);
  return Give(hand, oHandDevice, status);
}

HRESULT KOREVrcFactory::CreateProjectionArea(double iULx, double iULy, double iULz, double iLLx,
                                             double iLLy, double iLLz, double iLRx, double iLRy,
                                             double iLRz, KORIVrcProjectionArea** oArea) {
  Trace("{ Start of: KOREVrcFactory::CreateProjectionArea()");
  EndTrace end("} End of factory::CreateProjectionArea()");
  if (!oArea)
    return E_FAIL;
  *oArea = nullptr;
  KORIVrcProjectionArea_var area;
  HRESULT status = Instantiate("VrcProjectionArea", "KORVrcProjectionArea", area);
  if (!area)
    return status;
  Check(area->SetUpperLeft(iULx, iULy, iULz), status, "Cannot set UpperLeft");
  Check(area->SetLowerLeft(iLLx, iLLy, iLLz), status, "Cannot set LowerLeft");
  Check(area->SetLowerRight(iLRx, iLRy, iLRz), status, "Cannot set LowerRight");
  KORIVrcGraphicSpecs_var specs;
  if (SUCCEEDED(RetrieveGraphicSpecs(specs.Out())))
    Check(specs->AddProjectionArea(area), status);
  return Give(area, oArea, status);
}

HRESULT KOREVrcFactory::CreateViewport(double iLeft, double iTop, double iWidth, double iHeight,
                                       KORIVrcViewport** oViewport) {
  Trace("{ Start of: KOREVrcFactory::CreateViewport()");
  EndTrace end("} End of factory::CreateViewport()");
  if (!oViewport)
    return E_FAIL;
  *oViewport = nullptr;
  KORIVrcViewport_var viewport;
  HRESULT status = Instantiate("VrcViewport", "KORVrcViewport", viewport);
  if (!viewport)
    return status;
  Check(viewport->SetViewport(iLeft, iTop, iWidth, iHeight), status, "Cannot set Viewport");
  return Give(viewport, oViewport, status);
}

namespace {
// Gives a new view its name, the first head and its place in the graphic
// specifications, after its own values (iSetValues) are set.
template <class View, class SetValues>
HRESULT FinishView(KOREVrcFactory& iFactory, View* iView, const KORUnicodeString& iName,
                   HRESULT iStatus, SetValues&& iSetValues) {
  Check(iView->SetName(iName), iStatus, "Cannot set Name");
  iSetValues(iStatus);
  KORIVrcHead_var head;
  if (SUCCEEDED(iFactory.RetrieveHead(head.Out())))
    Check(iView->SetHead(head), iStatus);
  KORIVrcGraphicSpecs_var specs;
  if (SUCCEEDED(iFactory.RetrieveGraphicSpecs(specs.Out())))
    Check(specs->AddView(iView), iStatus);
  return iStatus;
}
} // namespace

HRESULT KOREVrcFactory::CreateScreenView(const KORUnicodeString& iName,
                                         KORIVrcProjectionArea* iArea, KORIVrcScreenView** oView) {
  Trace("{ Start of: KOREVrcFactory::CreateScreenView()");
  EndTrace end("} End of factory::CreateScreenView()");
  if (!oView)
    return E_FAIL;
  *oView = nullptr;
  KORIVrcScreenView_var view;
  HRESULT status = Instantiate("VrcScreenView", "KORVrcScreenView", view);
  if (!view)
    return status;
  status = FinishView(*this, view.get(), iName, status, [&](HRESULT& ioStatus) {
    Check(view->SetProjectionArea(iArea), ioStatus, "Cannot set ProjectionArea");
  });
  return Give(view, oView, status);
}

HRESULT KOREVrcFactory::CreateCameraView(const KORUnicodeString& iName, double iHfov,
                                         double iHshift, double iVfov, double iVshift,
                                         KORIVrcCameraView** oView) {
  Trace("{ Start of: KOREVrcFactory::CreateCameraView()");
  EndTrace end("} End of factory::CreateCameraView()");
  if (!oView)
    return E_FAIL;
  *oView = nullptr;
  KORIVrcCameraView_var view;
  HRESULT status = Instantiate("VrcCameraView", "KORVrcCameraView", view);
  if (!view)
    return status;
  status = FinishView(*this, view.get(), iName, status, [&](HRESULT& ioStatus) {
    Check(view->SetAngles(iHfov, iHshift, iVfov, iVshift), ioStatus, "Cannot set Angles");
  });
  return Give(view, oView, status);
}

HRESULT KOREVrcFactory::CreateVrcWindow(const KORUnicodeString& iName, KORIVrcViewport* iViewport,
                                        KORIVrcIG* iIG, KORIVrcWindow** oWindow) {
  Trace("{ Start of: KOREVrcFactory::CreateWindow()");
  EndTrace end("} End of factory::CreateWindow()");
  if (!oWindow)
    return E_FAIL;
  *oWindow = nullptr;
  KORIVrcWindow_var window;
  HRESULT status = Instantiate("VrcWindow", "KORVrcWindow", window);
  if (!window)
    return status;
  Check(window->SetViewport(iViewport), status, "Cannot set Viewport");
  Check(window->SetName(iName), status, "Cannot set Name");
  if (iIG)
    Check(iIG->AddWindow(window, /*iNotifyCreate=*/1), status);
  return Give(window, oWindow, status);
}

HRESULT KOREVrcFactory::CreateRenderingSpec(KORVrcRenderingMode iMode, KORVrcMirrorMode iMirror,
                                            KORIVrcRenderingSpec** oSpec) {
  Trace("{ Start of: KOREVrcFactory::CreateRenderingSpec()");
  if (!oSpec)
    return E_FAIL;
  *oSpec = nullptr;
  KORIVrcRenderingSpec_var spec;
  HRESULT status = Instantiate("VrcRenderingSpec", "KORVrcRenderingSpec", spec);
  if (!spec)
    return status;
  Check(spec->SetRenderingMode(iMode), status);
  Check(spec->SetMirrorMode(iMirror), status);
  return Give(spec, oSpec, status);
}

HRESULT KOREVrcFactory::CreateRendering(const KORUnicodeString& iName, KORIVrcRenderingSpec* iSpec,
                                        KORIVrcView* iView, KORIVrcWindow* iWindow,
                                        KORIVrcRendering** oRendering) {
  Trace("{ Start of: KOREVrcFactory::CreateRendering()");
  if (!oRendering)
    return E_FAIL;
  *oRendering = nullptr;
  KORIVrcRendering_var rendering;
  HRESULT status = Instantiate("VrcRendering", "KORVrcRendering", rendering);
  if (!rendering)
    return status;
  Check(rendering->SetName(iName), status);
  Check(rendering->SetRenderingSpec(iSpec), status);
  Check(rendering->SetView(iView), status);
  Check(rendering->SetWindow(iWindow), status);
  KORIVrcConfig_var config;
  if (SUCCEEDED(RetrieveConfig(config.Out())))
    Check(config->AddRendering(rendering), status);
  return Give(rendering, oRendering, status);
}

HRESULT KOREVrcFactory::CreateIG(const KORUnicodeString& iName, int iPixelWidth, int iPixelHeight,
                                 KORIVrcIG** oIG) {
  Trace("{ Start of: KOREVrcFactory::CreateIG()");
  EndTrace end("} End of factory::CreateIG()");
  if (!oIG)
    return E_FAIL;
  *oIG = nullptr;
  KORIVrcIG_var ig;
  HRESULT status = Instantiate("VrcIG", "KORVrcIG", ig);
  if (!ig)
    return status;
  Check(ig->SetName(iName), status, "Cannot set Name");
  Check(ig->SetPixelWidth(iPixelWidth), status, "Cannot set pixel width");
  Check(ig->SetPixelHeight(iPixelHeight), status, "Cannot set pixel height");
  KORIVrcGraphicResources_var resources;
  if (SUCCEEDED(RetrieveGraphicResources(resources.Out())))
    Check(resources->AddIG(ig), status);
  return Give(ig, oIG, status);
}

HRESULT KOREVrcFactory::CreateButtonDevice(KORVrcButtonDeviceType /*iType*/,
                                           const KORUnicodeString& iName,
                                           KORIVrcButtonDevice** oDevice) {
  Trace("} Start of factory::CreateButtonDevice()");
  EndTrace end("} End of factory::CreateButtonDevice()");
  if (!oDevice)
    return E_FAIL;
  *oDevice = nullptr;
  KORIVrcButtonDevice_var device;
  HRESULT status = Instantiate("VrcButtonDevice", "KORVrcButtonDevice", device);
  if (!device)
    return status;
  Check(device->SetName(iName), status, "Cannot set Name");
  KORIVrcDevices_var devices;
  if (SUCCEEDED(RetrieveDevices(devices.Out())))
    Check(devices->AddButtonDevice(device), status);
  return Give(device, oDevice, status);
}

HRESULT KOREVrcFactory::CreateTrackingStation(KORVrcTrackingStationType /*iType*/,
                                              const KORUnicodeString& iName,
                                              KORIVrcTrackingStation** oStation) {
  Trace("} Start of factory::CreateTrackingStation()");
  EndTrace end("} End of factory::CreateTrackingStation()");
  if (!oStation)
    return E_FAIL;
  *oStation = nullptr;
  KORIVrcTrackingStation_var station;
  HRESULT status = Instantiate("VrcTrackingStation", "KORVrcTrackingStation", station);
  if (!station)
    return status;
  Check(station->SetName(iName), status, "Cannot set Name");
  KORIVrcDevices_var devices;
  if (SUCCEEDED(RetrieveDevices(devices.Out())))
    Check(devices->AddTrackingStation(station), status);
  return Give(station, oStation, status);
}

HRESULT KOREVrcFactory::CreateTracker(const KORUnicodeString& iName, KORIVrcTracker** oTracker,
                                      KORIVrcTrackingStation* iStation) {
  Trace("} Start of factory::CreateTracker()");
  EndTrace end("} End of factory::CreateTracker()");
  if (!oTracker)
    return E_FAIL;
  *oTracker = nullptr;
  if (!iStation)
    return E_FAIL;
  KORIVrcTracker_var tracker;
  HRESULT status = Instantiate("VrcTracker", "KORVrcTracker", tracker);
  if (!tracker)
    return status;
  Check(tracker->SetName(iName), status, "Cannot set Name");
  Check(iStation->AddTracker(tracker), status);
  return Give(tracker, oTracker, status);
}

namespace {
// Nulls an out value first, so that a failure never leaves a caller's
// earlier pointer in it; false for a null out-pointer.
template <class I> bool Cleared(I** oValue) {
  if (oValue)
    *oValue = nullptr;
  return oValue != nullptr;
}
} // namespace

HRESULT KOREVrcFactory::RetrieveConfig(KORIVrcConfig** oConfig) {
  if (!oConfig)
    return E_FAIL;
  *oConfig = nullptr;
  KORIContainer_var container;
  if (FAILED(RetrieveVrcContainer(container.Out()))) {
    Trace("VRC Container NOT FOUND");
    return E_FAIL;
  }
  void* first = nullptr;
  if (FAILED(container->FindFirstMember(KORIVrcConfig::IID, &first)))
    return E_FAIL;
  auto config = KORIVrcConfig_var::Adopt(static_cast<KORIVrcConfig*>(first));
  return KORReturn(config, oConfig);
}

HRESULT KOREVrcFactory::RetrieveGraphicResources(KORIVrcGraphicResources** oGraphicResources) {
  KORIVrcConfig_var config;
  if (!Cleared(oGraphicResources) || FAILED(RetrieveConfig(config.Out())))
    return E_FAIL;
  return config->GetGraphicResources(oGraphicResources);
}

HRESULT KOREVrcFactory::RetrieveGraphicSpecs(KORIVrcGraphicSpecs** oGraphicSpecs) {
  KORIVrcConfig_var config;
  if (!Cleared(oGraphicSpecs) || FAILED(RetrieveConfig(config.Out())))
    return E_FAIL;
  return config->GetGraphicSpecs(oGraphicSpecs);
}

HRESULT KOREVrcFactory::RetrieveDevices(KORIVrcDevices** oDevices) {
  KORIVrcConfig_var config;
  if (!Cleared(oDevices) || FAILED(RetrieveConfig(config.Out())))
    return E_FAIL;
  return config->GetDevices(oDevices);
}

HRESULT KOREVrcFactory::RetrieveMainWindow(KORIVrcWindow** oWindow) {
  KORIVrcGraphicResources_var resources;
  if (!Cleared(oWindow) || FAILED(RetrieveGraphicResources(resources.Out())))
    return E_FAIL;
  return resources->GetMainWindow(oWindow);
}

namespace {
// The first entry of a new list as interface I.
template <class I> KORSmartPtr<I> FirstOf(KORListValKORBaseUnknown_var* iList) {
  const KOROwnedList list(iList);
  return list && list->Size() ? KORQuery<I>((*list)[1]) : nullptr;
}
} // namespace

HRESULT KOREVrcFactory::RetrieveHead(KORIVrcHead** oHead) {
  KORIVrcGraphicSpecs_var specs;
  KORListValKORBaseUnknown_var* heads = nullptr;
  if (!Cleared(oHead) || FAILED(RetrieveGraphicSpecs(specs.Out())) ||
      FAILED(specs->GetHeads(&heads)))
    return E_FAIL;
  return KORReturn(FirstOf<KORIVrcHead>(heads), oHead);
}

HRESULT KOREVrcFactory::RetrieveHandDevice(KORIVrcHandDevice** oHandDevice) {
  KORIVrcDevices_var devices;
  KORListValKORBaseUnknown_var* hands = nullptr;
  if (!Cleared(oHandDevice) || FAILED(RetrieveDevices(devices.Out())) ||
      FAILED(devices->GetHandDevices(&hands)))
    return E_FAIL;
  return KORReturn(FirstOf<KORIVrcHandDevice>(hands), oHandDevice);
}
