#include "KOREVrcNavigateObject.h"

#include "featurestore/KORIContainer.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcWindow.h"

#include <memory>

namespace {
KORListValKORUnicodeString* Label(const KORUnicodeString& iLabel) {
  return new KORListValKORUnicodeString{iLabel};
}

// iPrefix + ": " + the element's name, or iBare when the element does not
// answer I or its name cannot be read.
template <class I>
KORListValKORUnicodeString* NamedLabel(KORBaseUnknown* iElement, const char* iPrefix,
                                       const char* iBare) {
  KORUnicodeString name;
  auto element = KORQuery<I>(iElement);
  if (!element || FAILED(element->GetName(name)))
    return Label(iBare);
  return Label(std::string(iPrefix) + ": " + name);
}

// The lists of iGetters joined in order; null when none can be read or all
// are empty (a list that cannot be read counts as empty).
template <class I>
KORListValKORBaseUnknown_var*
Joined(KORBaseUnknown* iElement,
       std::initializer_list<HRESULT (I::*)(KORListValKORBaseUnknown_var**)> iGetters) {
  auto element = KORQuery<I>(iElement);
  if (!element)
    return nullptr;
  auto joined = std::make_unique<KORListValKORBaseUnknown_var>();
  for (auto getter : iGetters) {
    KORListValKORBaseUnknown_var* list = nullptr;
    if (FAILED((element.get()->*getter)(&list)) || !list)
      continue;
    std::unique_ptr<KORListValKORBaseUnknown_var> owned(list);
    for (KORBaseUnknown_var& entry : *owned)
      joined->Append(std::move(entry));
  }
  return joined->IsEmpty() ? nullptr : joined.release();
}

// A one-entry list of the object iGetter gives, or null.
template <class I, class Child>
KORListValKORBaseUnknown_var* One(KORBaseUnknown* iElement, HRESULT (I::*iGetter)(Child**)) {
  auto element = KORQuery<I>(iElement);
  KORSmartPtr<Child> child;
  if (!element || FAILED((element.get()->*iGetter)(child.Out())) || !child)
    return nullptr;
  return new KORListValKORBaseUnknown_var{KORBaseUnknown_var(child.get())};
}
} // namespace

KORListValKORUnicodeString* KOREVrcNavigateObjectOnVrcCont::GetIdentificators() {
  return Label("Virtual Reality Configuration");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnVrcCont::GetChildren() {
  auto container = QueryImpl<KORIContainer>();
  KORListValKORBaseUnknown_var* members = nullptr;
  if (!container || FAILED(container->ListMembers(KORIVrcConfig::IID, &members)) || !members)
    return nullptr;
  std::unique_ptr<KORListValKORBaseUnknown_var> owned(members);
  auto children = std::make_unique<KORListValKORBaseUnknown_var>();
  for (const KORBaseUnknown_var& member : *owned)
    if (member && KORQuery<KORINavigateObject>(member))
      children->Append(member);
  return children->IsEmpty() ? nullptr : children.release();
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnConfig::GetIdentificators() {
  return NamedLabel<KORIVrcConfig>(GetImpl(), "Config", "Config");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnConfig::GetChildren() {
  auto config = QueryImpl<KORIVrcConfig>();
  if (!config)
    return nullptr;
  auto children = std::make_unique<KORListValKORBaseUnknown_var>();
  KORIVrcGraphicResources_var resources;
  KORIVrcGraphicSpecs_var specs;
  KORIVrcDevices_var devices;
  if (SUCCEEDED(config->GetGraphicResources(resources.Out())) && resources)
    children->Append(KORBaseUnknown_var(resources.get()));
  if (SUCCEEDED(config->GetGraphicSpecs(specs.Out())) && specs)
    children->Append(KORBaseUnknown_var(specs.get()));
  if (SUCCEEDED(config->GetDevices(devices.Out())) && devices)
    children->Append(KORBaseUnknown_var(devices.get()));
  return children->IsEmpty() ? nullptr : children.release();
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnGraphicResources::GetIdentificators() {
  return Label("Graphics Resources");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnGraphicResources::GetChildren() {
  auto resources = QueryImpl<KORIVrcGraphicResources>();
  KORListValKORBaseUnknown_var* igs = nullptr;
  if (resources && SUCCEEDED(resources->GetIGs(&igs)) && igs) {
    std::unique_ptr<KORListValKORBaseUnknown_var> owned(igs);
    return owned->IsEmpty() ? nullptr : owned.release();
  }
  return One(GetImpl(), &KORIVrcGraphicResources::GetMainWindow);
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnGraphicSpecs::GetIdentificators() {
  return Label("Graphic Specifications");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnGraphicSpecs::GetChildren() {
  return Joined<KORIVrcGraphicSpecs>(GetImpl(),
                                     {&KORIVrcGraphicSpecs::GetHeads, &KORIVrcGraphicSpecs::GetViews});
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnDevices::GetIdentificators() {
  return Label("Devices");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnDevices::GetChildren() {
  return Joined<KORIVrcDevices>(GetImpl(),
                                {&KORIVrcDevices::GetHandDevices,
                                 &KORIVrcDevices::GetTrackingStations,
                                 &KORIVrcDevices::GetButtonDevices});
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnIG::GetIdentificators() {
  return NamedLabel<KORIVrcIG>(GetImpl(), "IG", "IG");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnIG::GetChildren() {
  return Joined<KORIVrcIG>(GetImpl(), {&KORIVrcIG::GetWindows});
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnWindow::GetIdentificators() {
  return NamedLabel<KORIVrcWindow>(GetImpl(), "Window", "Window");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnWindow::GetChildren() {
  return One(GetImpl(), &KORIVrcWindow::GetView);
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnView::GetIdentificators() {
  if (QueryImpl<KORIVrcScreenView>())
    return NamedLabel<KORIVrcScreenView>(GetImpl(), "Screen", "View");
  if (QueryImpl<KORIVrcCameraView>())
    return NamedLabel<KORIVrcCameraView>(GetImpl(), "Camera", "View");
  return Label("View");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnView::GetChildren() {
  return nullptr;
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnTrackingStation::GetIdentificators() {
  return NamedLabel<KORIVrcTrackingStation>(GetImpl(), "Tracking Station", "Tracking Station");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnTrackingStation::GetChildren() {
  return Joined<KORIVrcTrackingStation>(GetImpl(), {&KORIVrcTrackingStation::GetTrackers});
}

KORListValKORUnicodeString* KOREVrcNavigateObjectOnButtonDevice::GetIdentificators() {
  return NamedLabel<KORIVrcButtonDevice>(GetImpl(), "Button Device", "Button Device");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnButtonDevice::GetChildren() {
  return nullptr;
}

// Heads and hand devices show a fixed word, never their name.
KORListValKORUnicodeString* KOREVrcNavigateObjectOnTrackedElement::GetIdentificators() {
  if (QueryImpl<KORIVrcHead>())
    return Label("Head");
  if (QueryImpl<KORIVrcHandDevice>())
    return Label("HandDevice");
  return Label("TrackedElement");
}
KORListValKORBaseUnknown_var* KOREVrcNavigateObjectOnTrackedElement::GetChildren() {
  return nullptr;
}
