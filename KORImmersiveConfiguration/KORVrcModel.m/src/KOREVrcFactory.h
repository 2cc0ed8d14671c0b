#pragma once
// The element factory of documents and elements (see interfaces/KORIVrcFactory.h).
// Besides the interface it makes the configuration root, its three branches,
// the head and the hand device of the default configuration.
#include "interfaces/KORIVrcFactory.h"
#include "math/KORMathTransformation.h"
#include "objectmodel/KORExtension.h"

class KOREVrcFactory : public KORExtensionOf<KORIVrcFactory> {
public:
  KOREVrcFactory();
  ~KOREVrcFactory() override;

  HRESULT CreateProjectionArea(double iULx, double iULy, double iULz, double iLLx, double iLLy,
                               double iLLz, double iLRx, double iLRy, double iLRz,
                               KORIVrcProjectionArea** oArea) override;
  HRESULT CreateViewport(double iLeft, double iTop, double iWidth, double iHeight,
                         KORIVrcViewport** oViewport) override;
  HRESULT CreateScreenView(const KORUnicodeString& iName, KORIVrcProjectionArea* iArea,
                           KORIVrcScreenView** oView) override;
  HRESULT CreateCameraView(const KORUnicodeString& iName, double iHfov, double iHshift,
                           double iVfov, double iVshift, KORIVrcCameraView** oView) override;
  HRESULT CreateVrcWindow(const KORUnicodeString& iName, KORIVrcViewport* iViewport, KORIVrcIG* iIG,
                          KORIVrcWindow** oWindow) override;
  HRESULT CreateRenderingSpec(KORVrcRenderingMode iMode, KORVrcMirrorMode iMirror,
                              KORIVrcRenderingSpec** oSpec) override;
  HRESULT CreateRendering(const KORUnicodeString& iName, KORIVrcRenderingSpec* iSpec,
                          KORIVrcView* iView, KORIVrcWindow* iWindow,
                          KORIVrcRendering** oRendering) override;
  HRESULT CreateIG(const KORUnicodeString& iName, int iPixelWidth, int iPixelHeight,
                   KORIVrcIG** oIG) override;
  HRESULT CreateButtonDevice(KORVrcButtonDeviceType iType, const KORUnicodeString& iName,
                             KORIVrcButtonDevice** oDevice) override;
  HRESULT CreateTrackingStation(KORVrcTrackingStationType iType, const KORUnicodeString& iName,
                                KORIVrcTrackingStation** oStation) override;
  HRESULT CreateTracker(const KORUnicodeString& iName, KORIVrcTracker** oTracker,
                        KORIVrcTrackingStation* iStation) override;
  HRESULT RetrieveVrcContainer(KORIContainer** oContainer) override;
  HRESULT RetrieveHead(KORIVrcHead** oHead) override;
  HRESULT RetrieveHandDevice(KORIVrcHandDevice** oHandDevice) override;
  HRESULT RetrieveConfig(KORIVrcConfig** oConfig) override;
  HRESULT RetrieveMainWindow(KORIVrcWindow** oWindow) override;
  HRESULT RetrieveGraphicResources(KORIVrcGraphicResources** oGraphicResources) override;
  HRESULT RetrieveGraphicSpecs(KORIVrcGraphicSpecs** oGraphicSpecs) override;
  HRESULT RetrieveDevices(KORIVrcDevices** oDevices) override;

  HRESULT CreateConfig(const KORUnicodeString& iName, KORIVrcConfig** oConfig);
  HRESULT CreateGraphicResources(KORIVrcGraphicResources** oGraphicResources);
  HRESULT CreateGraphicSpecs(KORIVrcGraphicSpecs** oGraphicSpecs);
  HRESULT CreateDevices(KORIVrcDevices** oDevices);
  HRESULT CreateHead(double iIPD, KORIVrcTracker* iTracker, const KORMathTransformation& iLocation,
                     KORIVrcHead** oHead);
  HRESULT CreateHandDevice(KORVrcHandDeviceType iType, KORIVrcTracker* iTracker,
                           const KORMathTransformation& iLocation, KORIVrcHandDevice** oHandDevice);

private:
  // Makes a new feature of the kind (startup and type name) in the
  // configuration container; oElement stays null when that is impossible.
  template <class I>
  HRESULT Instantiate(const char* iStartup, const char* iType, KORSmartPtr<I>& oElement);
  HRESULT MakeContainer(KORBaseUnknown* iRoot, KORIContainer** oContainer);
};
