#pragma once
// A fresh document per test, with the module loaded once per process, in a
// frame of its own (the test's message boxes and message catalogs). The
// fixture records every notification that reaches the document's root
// container, where the views of the host listen.
#include "featurestore/KORContainer.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORFeatureCatalog.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORIUuid.h"
#include "featurestore/KORNotificationDispatcher.h"
#include "frame/KORFrame.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcDecomposition.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcRegion.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcWindow.h"
#include "system/KORModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// An object of an element's late type that is not a feature: the kind's
// behaviours answer on it, but it has no attributes and no container.
class KORLooseElement final : public KORImplementationOf<KORLooseElement, KORIUuid> {
public:
  explicit KORLooseElement(const char* iLateType) : KORImplementationOf(iLateType) {}
  HRESULT GetUuid(KORUuid&) override { return E_FAIL; }
  template <class I> static KORSmartPtr<I> Make(const char* iLateType) {
    KORSmartPtr<KORIUuid> loose(new KORLooseElement(iLateType));
    return KORQuery<I>(loose);
  }
};

// The element the Retrieve operation iRetrieve of iFactory hands over.
template <class I>
KORSmartPtr<I> Retrieved(KORIVrcFactory* iFactory, HRESULT (KORIVrcFactory::*iRetrieve)(I**)) {
  KORSmartPtr<I> element;
  EXPECT_EQ((iFactory->*iRetrieve)(element.Out()), S_OK);
  return element;
}

struct HeardEvent {
  KORNotificationKind kind;
  KORBaseUnknown_var object;
};

class ModelTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_EQ(KORLoadModule("KORVrConfig", error), S_OK) << error;
  }

  void SetUp() override {
    frame.MessageBoxes().SetEcho(false);
    document = KORDocument::Create();
    frame.Editor().SetDocument(document->Identity());
    factory = KORQuery<KORIVrcFactory>(document);
    ASSERT_TRUE(factory);
    KORBaseUnknown_var root;
    ASSERT_EQ(document->GetRootContainer(root.Out()), S_OK);
    rootEvents = KORQuery<KORIModelEvents>(root);
    ASSERT_TRUE(rootEvents);
    listener = rootEvents->GetDispatcher()->AddListener([this](const KORNotification& iEvent) {
      if (const auto* event = KORModelNotification::From(iEvent))
        heard.push_back({event->Kind(), KORBaseUnknown_var(event->Object())});
    });
  }

  void TearDown() override {
    if (rootEvents)
      rootEvents->GetDispatcher()->RemoveListener(listener);
  }

  // The well-known elements (the first call makes the default configuration).
  KORIVrcConfig_var Config() { return Retrieved(factory, &KORIVrcFactory::RetrieveConfig); }
  KORIVrcGraphicResources_var Resources() {
    return Retrieved(factory, &KORIVrcFactory::RetrieveGraphicResources);
  }
  KORIVrcGraphicSpecs_var Specs() {
    return Retrieved(factory, &KORIVrcFactory::RetrieveGraphicSpecs);
  }
  KORIVrcDevices_var Devices() { return Retrieved(factory, &KORIVrcFactory::RetrieveDevices); }
  KORIVrcHead_var Head() { return Retrieved(factory, &KORIVrcFactory::RetrieveHead); }
  KORIVrcHandDevice_var Hand() { return Retrieved(factory, &KORIVrcFactory::RetrieveHandDevice); }
  KORIContainer_var VrcContainer() {
    return Retrieved(factory, &KORIVrcFactory::RetrieveVrcContainer);
  }
  // The feature store behind the configuration container.
  KORFeatureContainer* Store() {
    return KORGetImplementationAs<KORFeatureContainer>(VrcContainer().get());
  }

  // An element made straight from its type in the configuration container:
  // nothing set, nothing hung, nothing connected.
  template <class I> KORSmartPtr<I> Bare(const char* iType) {
    auto* store = Store();
    const KORFeatureType* type = KORFeatureCatalog::FindType(iType);
    EXPECT_TRUE(store && type) << iType;
    return store && type ? KORQuery<I>(store->NewFeature(*type, "")) : KORSmartPtr<I>();
  }

  // The entries of the list iGet of iOwner hands over, each as I.
  template <class I = KORBaseUnknown, class Owner, class Base>
  static std::vector<KORSmartPtr<I>> Listed(const Owner& iOwner,
                                            HRESULT (Base::*iGet)(KORListValKORBaseUnknown_var**)) {
    KORListValKORBaseUnknown_var* raw = nullptr;
    EXPECT_EQ(((*iOwner).*iGet)(&raw), S_OK);
    const KOROwnedList owned(raw);
    std::vector<KORSmartPtr<I>> elements;
    if (owned)
      for (const KORBaseUnknown_var& element : *owned)
        elements.push_back(KORQuery<I>(element));
    return elements;
  }
  // Whether iElements hold the element iElement designates.
  template <class I>
  static bool Holds(const std::vector<KORSmartPtr<I>>& iElements, KORBaseUnknown* iElement) {
    return std::any_of(iElements.begin(), iElements.end(),
                       [&](const KORSmartPtr<I>& iEntry) { return Same(iEntry.get(), iElement); });
  }

  // Whether two interface pointers designate the same element.
  static bool Same(KORBaseUnknown* iFirst, KORBaseUnknown* iSecond) {
    return KORQuery<KORBaseUnknown>(iFirst).get() == KORQuery<KORBaseUnknown>(iSecond).get();
  }

  // Events heard at the root since the last call, then forgotten.
  std::vector<HeardEvent> TakeHeard() { return std::exchange(heard, {}); }
  // How many heard events of iKind are about iObject.
  int CountHeard(KORNotificationKind iKind, KORBaseUnknown* iObject) const {
    auto identity = KORQuery<KORBaseUnknown>(iObject);
    int count = 0;
    for (const HeardEvent& event : heard)
      if (event.kind == iKind && event.object.get() == identity.get())
        ++count;
    return count;
  }

  KORFrame frame;
  KORFrameScope frameScope{frame};
  KORSmartPtr<KORDocument> document;
  KORIVrcFactory_var factory;
  KORIModelEvents_var rootEvents;
  int listener = 0;
  std::vector<HeardEvent> heard;
};
