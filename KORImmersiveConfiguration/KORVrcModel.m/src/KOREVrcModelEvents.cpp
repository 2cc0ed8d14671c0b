#include "KOREVrcModelEvents.h"

#include "KORVrcElementAccess.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"

namespace {
using Kind = KORNotificationKind;

// Whether the receiver notifies a change of its own on this model event.
bool ChangesOnReceive(KORBaseUnknown* iReceiver, const KORModelNotification& iNotification) {
  const Kind kind = iNotification.Kind();
  if (KORQuery<KORIVrcCameraView>(iReceiver) || KORQuery<KORIVrcScreenView>(iReceiver) ||
      KORQuery<KORIVrcTracker>(iReceiver))
    return kind == Kind::Modify;
  if (KORQuery<KORIVrcTrackingStation>(iReceiver))
    return true;
  if (KORQuery<KORIVrcGraphicResources>(iReceiver))
    return kind == Kind::Delete && KORQuery<KORIVrcIG>(iNotification.Object());
  return false;
}
} // namespace

HRESULT KOREVrcModelEvents::Receive(KORNotification& ioNotification) {
  KORBaseUnknown* self = GetImpl();
  if (auto config = KORQuery<KORIVrcConfig>(self))
    KORIgnoreResult(config->SetID(KORUuid::Generate()),
                    "a configuration that cannot take a new identifier keeps its old one");
  else if (const auto* event = KORModelNotification::From(ioNotification);
           event && ChangesOnReceive(self, *event))
    KORVrcAccess::NotifyChange(self);
  return KORStandardModelEvents::Receive(ioNotification);
}
