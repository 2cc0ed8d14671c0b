#pragma once
// KORIVRRuntimeInfo: what the immersive runtime has loaded, as a tracking
// test needs it before it listens to the device service.
//
// Our host's runtime loads the configuration that the registry marks active
// (vr/KORVRConfigRegistry.h): its identifier is the ConfigID attribute of the
// root Config element of that XML file, read on each query. An identifier set
// explicitly takes precedence: one set on the component (SetConfigID), then
// one set on the current frame's device service (KORVRDeviceService.h, a
// journal's `runtime` line).
//
// The head's and the hand's tracker events are those the runtime settings
// name: the keys "HeadTrackingEvent" and "HandTrackingEvent" of the setting
// repository "VRCommandsTemp", written "DEVICE EVENT INDEX" ("Polhemus
// VIEWPORT_EVENT 1"); "None" or an empty value means no tracker. When the
// current frame's device service has a mapping set (a front end feeding a
// tracking source), the mapped events are named instead.
#include "objectmodel/KORBaseUnknown.h"
#include "objectmodel/KORSmartPtr.h"
#include "system/KORString.h"

class KORIVRRuntimeInfo : public KORBaseUnknown {
  KOR_INTERFACE(KORIVRRuntimeInfo, KORBaseUnknown)

  // S_OK when the runtime has a configuration to report (an explicit
  // identifier, or an active registered configuration), S_FALSE otherwise.
  // Our runtime answers at once: iWaitMilliseconds is accepted for callers
  // written for runtimes that start slowly.
  [[nodiscard]] virtual HRESULT IsAvailable(int iWaitMilliseconds) = 0;
  // S_OK with the identifier; E_FAIL (oID emptied) when there is none or the
  // active configuration's file cannot be read or holds no identifier.
  [[nodiscard]] virtual HRESULT GetConfigID(KORUnicodeString& oID) = 0;
  // Sets the identifier to report; an empty one goes back to the registry.
  [[nodiscard]] virtual HRESULT SetConfigID(const KORUnicodeString& iID) = 0;
  // S_OK with the event that the head's (hand's) tracker sends; E_FAIL, the
  // outputs untouched, when the settings name none or cannot be read.
  [[nodiscard]] virtual HRESULT GetHeadTrackerEvent(KORString& oDeviceName, KORString& oEventName,
                                                    int& oIndex) = 0;
  [[nodiscard]] virtual HRESULT GetHandTrackerEvent(KORString& oDeviceName, KORString& oEventName,
                                                    int& oIndex) = 0;

protected:
  ~KORIVRRuntimeInfo() = default;
};
KOR_DECLARE_VAR(KORIVRRuntimeInfo)

// Creates the runtime information component, with one reference (the
// creation function of a component row, KORExtensionDictionary.h).
KORBaseUnknown* KORVRCreateRuntimeInfo();

// The ConfigID of the XML configuration file iPath (a logical path,
// KOREnvironment.h): S_OK, or E_FAIL with oError naming the file and what is
// wrong, oID emptied.
HRESULT KORVRReadConfigID(const KORUnicodeString& iPath, KORUnicodeString& oID, KORString& oError);

// Splits a runtime settings event "DEVICE EVENT INDEX" (the device name may
// hold blanks): S_OK, or E_FAIL (outputs untouched) for "None", an empty text
// or another shape.
HRESULT KORVRParseTrackerEvent(const KORUnicodeString& iText, KORString& oDeviceName,
                               KORString& oEventName, int& oIndex);
