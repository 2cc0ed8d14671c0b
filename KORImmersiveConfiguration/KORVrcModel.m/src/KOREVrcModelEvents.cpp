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
// Asked of every object an event reaches: the kind of event is looked at
// first, so that each receiver is asked for as few interfaces as may answer.
bool ChangesOnReceive(KORBaseUnknown* iReceiver, const KORModelNotification& iNotification) {
  const Kind kind = iNotification.Kind();
  if (kind == Kind::Modify &&
      (KORQuery<KORIVrcScreenView>(iReceiver) || KORQuery<KORIVrcCameraView>(iReceiver) ||
       KORQuery<KORIVrcTracker>(iReceiver)))
    return true;
  if (KORQuery<KORIVrcTrackingStation>(iReceiver))
    return true;
  return kind == Kind::Delete && KORQuery<KORIVrcGraphicResources>(iReceiver) &&
         KORQuery<KORIVrcIG>(iNotification.Object());
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
