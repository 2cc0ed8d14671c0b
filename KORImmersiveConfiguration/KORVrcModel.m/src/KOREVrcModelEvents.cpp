#include "KOREVrcModelEvents.h"

#include "KOREVrcConfig.h"
#include "KORVrcElementAccess.h"
#include "KORVrcTools.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "objectmodel/KORExtensionDictionary.h"

namespace {
using Kind = KORNotificationKind;
using Role = KOREVrcModelEvents::Role;

// The role of an element that is not a configuration root.
Role RoleOf(KORBaseUnknown* iElement) {
  if (KORQuery<KORIVrcScreenView>(iElement) || KORQuery<KORIVrcCameraView>(iElement) ||
      KORQuery<KORIVrcTracker>(iElement))
    return Role::ChangesOnModify;
  if (KORQuery<KORIVrcTrackingStation>(iElement))
    return Role::TrackingStation;
  if (KORQuery<KORIVrcGraphicResources>(iElement))
    return Role::GraphicResources;
  return Role::None;
}

// Whether an element of iRole notifies a change of its own on this event.
bool ChangesOnReceive(Role iRole, const KORNotification& iNotification) {
  const auto* event = KORModelNotification::From(iNotification);
  if (!event)
    return false;
  switch (iRole) {
  case Role::ChangesOnModify:
    return event->Kind() == Kind::Modify;
  case Role::TrackingStation:
    return true;
  case Role::GraphicResources:
    return event->Kind() == Kind::Delete && KORQuery<KORIVrcIG>(event->Object());
  default:
    return false;
  }
}
} // namespace

KOREVrcModelEvents::Role KOREVrcModelEvents::GetRole() {
  const unsigned generation = KORExtensionDictionary::Generation();
  if (_roleGeneration != generation) {
    _config = dynamic_cast<KOREVrcConfig*>(KORQuery<KORIVrcConfig>(GetImpl()).get());
    _role = _config ? Role::ConfigurationRoot : RoleOf(GetImpl());
    _roleGeneration = generation;
  }
  return _role;
}

HRESULT KOREVrcModelEvents::Receive(KORNotification& ioNotification) {
  KORBaseUnknown* self = GetImpl();
  const Role role = GetRole();
  if (role == Role::ConfigurationRoot) {
    KORIgnoreResult(_config->RenewID(),
                    "a configuration that cannot take a new identifier keeps its old one");
  } else if (role != Role::None && ChangesOnReceive(role, ioNotification)) {
    // The element's change, raised from its own events rather than through
    // its refresh interface, which would only query these events back: one
    // head move makes every view do this.
    KORModify changed(self, /*iMode=*/1);
    KORIgnoreResult(Dispatch(changed), KORVrcEventNotDelivered);
  }
  return KORStandardModelEvents::Receive(ioNotification);
}
