#pragma once
// The single way to create configuration elements and to find the well-known
// ones, offered by design documents and by every element. Each creation makes
// the kind's feature in the configuration container, sets the given values
// through the kind's interface and hangs the element at its place in the tree.
// The first request on a document without configuration container makes the
// container and the complete default configuration (root "Config", its three
// branches, the head "Head" and the hand device "Hand").
//
// Every operation fails on a null out-pointer; the out value is null until the
// element is made and then carries a counted reference. A setter that fails
// makes the result E_FAIL while the element is still made and hung.
#include "interfaces/KORVrcEnums.h"
#include "objectmodel/KORSmartPtr.h"
#include "system/KORString.h"

class KORIContainer;
class KORIVrcProjectionArea;
class KORIVrcViewport;
class KORIVrcScreenView;
class KORIVrcCameraView;
class KORIVrcWindow;
class KORIVrcIG;
class KORIVrcRenderingSpec;
class KORIVrcRendering;
class KORIVrcView;
class KORIVrcButtonDevice;
class KORIVrcTrackingStation;
class KORIVrcTracker;
class KORIVrcHead;
class KORIVrcHandDevice;
class KORIVrcConfig;
class KORIVrcGraphicResources;
class KORIVrcGraphicSpecs;
class KORIVrcDevices;

class KORIVrcFactory : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcFactory, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT CreateProjectionArea(double iULx, double iULy, double iULz,
                                                     double iLLx, double iLLy, double iLLz,
                                                     double iLRx, double iLRy, double iLRz,
                                                     KORIVrcProjectionArea** oArea) = 0;
  [[nodiscard]] virtual HRESULT CreateViewport(double iLeft, double iTop, double iWidth,
                                               double iHeight, KORIVrcViewport** oViewport) = 0;
  [[nodiscard]] virtual HRESULT CreateScreenView(const KORUnicodeString& iName,
                                                 KORIVrcProjectionArea* iArea,
                                                 KORIVrcScreenView** oView) = 0;
  // Angles in radians.
  [[nodiscard]] virtual HRESULT CreateCameraView(const KORUnicodeString& iName, double iHfov,
                                                 double iHshift, double iVfov, double iVshift,
                                                 KORIVrcCameraView** oView) = 0;
  [[nodiscard]] virtual HRESULT CreateVrcWindow(const KORUnicodeString& iName,
                                                KORIVrcViewport* iViewport, KORIVrcIG* iIG,
                                                KORIVrcWindow** oWindow) = 0;
  [[nodiscard]] virtual HRESULT CreateRenderingSpec(KORVrcRenderingMode iMode,
                                                    KORVrcMirrorMode iMirror,
                                                    KORIVrcRenderingSpec** oSpec) = 0;
  [[nodiscard]] virtual HRESULT CreateRendering(const KORUnicodeString& iName,
                                                KORIVrcRenderingSpec* iSpec, KORIVrcView* iView,
                                                KORIVrcWindow* iWindow,
                                                KORIVrcRendering** oRendering) = 0;
  [[nodiscard]] virtual HRESULT CreateIG(const KORUnicodeString& iName, int iPixelWidth,
                                         int iPixelHeight, KORIVrcIG** oIG) = 0;
  // The type is not stored: the device keeps its type's default until SetType.
  [[nodiscard]] virtual HRESULT CreateButtonDevice(KORVrcButtonDeviceType iType,
                                                   const KORUnicodeString& iName,
                                                   KORIVrcButtonDevice** oDevice) = 0;
  // The type is not stored: the station keeps its type's default until SetType.
  [[nodiscard]] virtual HRESULT CreateTrackingStation(KORVrcTrackingStationType iType,
                                                      const KORUnicodeString& iName,
                                                      KORIVrcTrackingStation** oStation) = 0;
  // A null station fails before anything is made.
  [[nodiscard]] virtual HRESULT CreateTracker(const KORUnicodeString& iName,
                                              KORIVrcTracker** oTracker,
                                              KORIVrcTrackingStation* iStation) = 0;
  [[nodiscard]] virtual HRESULT RetrieveVrcContainer(KORIContainer** oContainer) = 0;
  [[nodiscard]] virtual HRESULT RetrieveHead(KORIVrcHead** oHead) = 0;
  [[nodiscard]] virtual HRESULT RetrieveHandDevice(KORIVrcHandDevice** oHandDevice) = 0;
  [[nodiscard]] virtual HRESULT RetrieveConfig(KORIVrcConfig** oConfig) = 0;
  [[nodiscard]] virtual HRESULT RetrieveMainWindow(KORIVrcWindow** oWindow) = 0;
  [[nodiscard]] virtual HRESULT
  RetrieveGraphicResources(KORIVrcGraphicResources** oGraphicResources) = 0;
  [[nodiscard]] virtual HRESULT RetrieveGraphicSpecs(KORIVrcGraphicSpecs** oGraphicSpecs) = 0;
  [[nodiscard]] virtual HRESULT RetrieveDevices(KORIVrcDevices** oDevices) = 0;
};
KOR_DECLARE_VAR(KORIVrcFactory)
