#pragma once
// Builds configurations for the tests through the factory and the element
// interfaces, the way the editing commands do. Every step asserts success.
#include "ModelFixture.h"

#include "KORVrcTools.h"

#include <array>
#include <map>
#include <string>

class ConfigBuilder {
public:
  explicit ConfigBuilder(KORIVrcFactory* iFactory) : _factory(iFactory) {}

  KORIVrcIG_var IG(const std::string& iName, int iWidth = 1280, int iHeight = 1024) {
    KORIVrcIG_var ig;
    EXPECT_EQ(_factory->CreateIG(iName, iWidth, iHeight, ig.Out()), S_OK);
    return ig;
  }

  // A screen view by its upper-left, lower-left and lower-right corners.
  KORIVrcScreenView_var Screen(const std::string& iName, std::array<double, 3> iUL,
                               std::array<double, 3> iLL, std::array<double, 3> iLR) {
    KORIVrcProjectionArea_var area;
    EXPECT_EQ(_factory->CreateProjectionArea(iUL[0], iUL[1], iUL[2], iLL[0], iLL[1], iLL[2], iLR[0],
                                             iLR[1], iLR[2], area.Out()),
              S_OK);
    KORIVrcScreenView_var view;
    EXPECT_EQ(_factory->CreateScreenView(iName, area, view.Out()), S_OK);
    _views[iName] = KORQuery<KORIVrcView>(view);
    return view;
  }

  // A camera view; angles in radians.
  KORIVrcCameraView_var Camera(const std::string& iName, double iHfov, double iHshift, double iVfov,
                               double iVshift) {
    KORIVrcCameraView_var view;
    EXPECT_EQ(_factory->CreateCameraView(iName, iHfov, iHshift, iVfov, iVshift, view.Out()), S_OK);
    _views[iName] = KORQuery<KORIVrcView>(view);
    return view;
  }

  // A window on iIG with a viewport (left, top, width, height); with a view
  // name, a rendering of that view in iMode and iMirror.
  KORIVrcWindow_var Window(KORIVrcIG* iIG, const std::string& iName,
                           std::array<double, 4> iViewport = {0, 0, 1, 1},
                           const std::string& iView = "",
                           KORVrcRenderingMode iMode = KORVrcRenderingMono,
                           KORVrcMirrorMode iMirror = KORVrcMirrorNone) {
    KORIVrcViewport_var viewport;
    EXPECT_EQ(_factory->CreateViewport(iViewport[0], iViewport[1], iViewport[2], iViewport[3],
                                       viewport.Out()),
              S_OK);
    KORIVrcWindow_var window;
    EXPECT_EQ(_factory->CreateVrcWindow(iName, viewport, iIG, window.Out()), S_OK);
    if (!iView.empty()) {
      EXPECT_TRUE(_views.count(iView)) << "unknown view " << iView;
      Rendering(iName, _views[iView], window, iMode, iMirror);
    }
    return window;
  }

  // A rendering of iView in iWindow.
  KORIVrcRendering_var Rendering(const std::string& iName, KORIVrcView* iView,
                                 KORIVrcWindow* iWindow,
                                 KORVrcRenderingMode iMode = KORVrcRenderingMono,
                                 KORVrcMirrorMode iMirror = KORVrcMirrorNone) {
    KORIVrcRenderingSpec_var spec;
    EXPECT_EQ(_factory->CreateRenderingSpec(iMode, iMirror, spec.Out()), S_OK);
    KORIVrcRendering_var rendering;
    EXPECT_EQ(_factory->CreateRendering(iName, spec, iView, iWindow, rendering.Out()), S_OK);
    return rendering;
  }

  void MainWindow(KORIVrcWindow* iWindow) {
    auto resources = Retrieved(_factory, &KORIVrcFactory::RetrieveGraphicResources);
    EXPECT_EQ(resources->SetMainWindow(iWindow), S_OK);
  }

  KORIVrcTrackingStation_var Station(const std::string& iName, KORVrcTrackingStationType iType,
                                     const std::string& iDaemon, int iPort = 1, int iSpeed = 115200,
                                     const KORMathTransformation& iRef = KORMathTransformation()) {
    KORIVrcTrackingStation_var station;
    EXPECT_EQ(_factory->CreateTrackingStation(iType, iName, station.Out()), S_OK);
    EXPECT_EQ(station->SetType(iType), S_OK);
    EXPECT_EQ(station->SetRef(iRef), S_OK);
    EXPECT_EQ(station->SetPort(iPort), S_OK);
    EXPECT_EQ(station->SetSpeed(iSpeed), S_OK);
    EXPECT_EQ(station->SetDaemonName(iDaemon), S_OK);
    return station;
  }

  // A tracker numbered iNumber; iFollows: "head", "hand" or "" for none.
  KORIVrcTracker_var Tracker(KORIVrcTrackingStation* iStation, int iNumber,
                             const std::string& iFollows = "",
                             const KORMathTransformation& iOffset = KORMathTransformation()) {
    KORIVrcTracker_var tracker;
    EXPECT_EQ(_factory->CreateTracker(std::to_string(iNumber), tracker.Out(), iStation), S_OK);
    if (iFollows == "head") {
      EXPECT_EQ(tracker->SetTrackedElement(Followed(&KORIVrcFactory::RetrieveHead).get()), S_OK);
    } else if (iFollows == "hand") {
      EXPECT_EQ(tracker->SetTrackedElement(Followed(&KORIVrcFactory::RetrieveHandDevice).get()),
                S_OK);
    }
    EXPECT_EQ(tracker->SetOffset(iOffset), S_OK);
    return tracker;
  }

  KORIVrcButtonDevice_var ButtonDevice(const std::string& iName, KORVrcButtonDeviceType iType,
                                       const std::string& iDaemon, int iPort = 1,
                                       int iSpeed = 9600) {
    KORIVrcButtonDevice_var device;
    EXPECT_EQ(_factory->CreateButtonDevice(iType, iName, device.Out()), S_OK);
    EXPECT_EQ(device->SetType(iType), S_OK);
    EXPECT_EQ(device->SetDaemonName(iDaemon), S_OK);
    EXPECT_EQ(device->SetPort(iPort), S_OK);
    EXPECT_EQ(device->SetSpeed(iSpeed), S_OK);
    return device;
  }

  // The corners of iView's projection area: upper-left, lower-left and
  // lower-right, x, y, z each.
  static std::array<double, 9> CornersOf(KORIVrcScreenView* iView) {
    KORIVrcProjectionArea_var area;
    std::array<double, 9> c{};
    EXPECT_EQ(iView->GetProjectionArea(area.Out()), S_OK);
    EXPECT_EQ(area->GetUpperLeft(&c[0], &c[1], &c[2]), S_OK);
    EXPECT_EQ(area->GetLowerLeft(&c[3], &c[4], &c[5]), S_OK);
    EXPECT_EQ(area->GetLowerRight(&c[6], &c[7], &c[8]), S_OK);
    return c;
  }

  // A placement from a translation and heading, pitch, roll in degrees.
  static KORMathTransformation Placement(double iX, double iY, double iZ, double iH = 0,
                                         double iP = 0, double iR = 0) {
    KORMath3x3Matrix rotation;
    HPR(rotation, iH, iP, iR);
    return KORMathTransformation(rotation, KORMathVector(iX, iY, iZ));
  }

private:
  template <class I> KORIVrcTrackedElement_var Followed(HRESULT (KORIVrcFactory::*iRetrieve)(I**)) {
    return KORQuery<KORIVrcTrackedElement>(Retrieved(_factory, iRetrieve));
  }

  KORIVrcFactory* _factory;
  std::map<std::string, KORIVrcView_var> _views;
};

// A model test with a builder over its document's factory.
class BuildTest : public ModelTest {
protected:
  void SetUp() override {
    ModelTest::SetUp();
    build = ConfigBuilder(factory);
  }

  ConfigBuilder build{nullptr};
};
