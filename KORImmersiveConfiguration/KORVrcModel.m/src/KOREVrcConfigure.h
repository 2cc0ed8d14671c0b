#pragma once
// The writers of the runtime text files, on the configuration root. This
// object keeps the main parts of the configuration it writes from (refetched
// by every writer), the indentation level of the text being written and the
// display writer's desktop offsets; everything else is read from the model,
// which the writers never change.
//
// The writers share: the lookups below, the window order (main window first),
// the test that every image generator is local, the geometric frames (model to
// display, tracking station, tracker axes), the indentation of the text files
// (every line starts with a newline and four spaces per level) and the message
// convention of KORIVrcConfigure. Reals are written in fixed notation with
// eight decimals.
#include "KORVrcText.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcConfigure.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcView.h"
#include "interfaces/KORIVrcWindow.h"
#include "math/KORMathTransformation.h"
#include "objectmodel/KORExtension.h"
#include "system/KORMsgCatalog.h"

#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

class KORIVrcCameraView;
class KORIVrcIG;
class KORIVrcProjectionArea;
class KORIVrcTracker;
class KORIVrcView;
class KORIVrcWindow;

class KOREVrcConfigure : public KORExtensionOf<KORIVrcConfigure> {
public:
  // KORIVrcConfigure
  HRESULT GenerateMPK(std::ostream& ioStream, KORUnicodeString& oMessages,
                      unsigned char iWrite) override;
  HRESULT GenerateFSConfig(std::ostream& ioStream, KORUnicodeString& oMessages,
                           unsigned char iWrite) override;
  HRESULT GenerateTrackingStationConfigFile(std::ostream& ioStream,
                                            KORIVrcTrackingStation* iStation,
                                            KORUnicodeString& oMessages,
                                            unsigned char iWrite) override;
  HRESULT GenerateVirtualRealitySettingFile(const KORUnicodeString& iPath,
                                            KORUnicodeString& oMessages,
                                            unsigned char iWrite) override;
  HRESULT GenerateVRCommandsSettingFile(const KORUnicodeString& iPath, KORUnicodeString& oMessages,
                                        unsigned char iWrite) override;
  HRESULT NumberOfWindow(int& oCount) override;

  void OnDispose() override { ReleaseCommonPointers(); }

  // Lookups shared by the writers (S_OK or E_FAIL).
  HRESULT RetrieveCommonPointers();
  HRESULT RetrieveMainWindow(KORIVrcWindow** oWindow);
  HRESULT RetrieveViewPointTracker(KORIVrcTracker** oTracker);
  HRESULT RetrieveIGList(KORListValKORBaseUnknown_var** oList);
  HRESULT RetrieveViewList(KORListValKORBaseUnknown_var** oList);
  HRESULT RetrievePickingTrackingStation(KORIVrcTrackingStation** oStation);
  // Puts the main window first by swapping it with the first entry.
  HRESULT ReOrderWindows(KORListValKORBaseUnknown_var& ioWindows, KORIVrcWindow* iMainWindow);
  bool CheckOnlyLocalIGs();
  HRESULT IsActiveStereoMode(bool& oStereo);
  bool GetProjectionAreaOnMainWindow(KORIVrcProjectionArea** oArea);
  bool GetCameraOnMainWindow(KORIVrcCameraView** oCamera);
  bool IsTheWindowAttachToScreenView(KORIVrcWindow* iWindow);
  // A window's rendering, and the view and rendering spec it gives the
  // window (null when there is none).
  KORIVrcRendering_var RenderingOf(KORIVrcWindow* iWindow);
  KORIVrcView_var ViewOf(KORIVrcWindow* iWindow);
  KORIVrcRenderingSpec_var SpecOf(KORIVrcWindow* iWindow);
  // The modes of a window's rendering spec; empty when it has none or they
  // cannot be read.
  std::optional<KORVrcRenderingMode> RenderingModeOf(KORIVrcWindow* iWindow);
  std::optional<KORVrcMirrorMode> MirrorModeOf(KORIVrcWindow* iWindow);
  // Model frame to the display frame centred on the main window's screen.
  HRESULT ComputeModelToFS(KORMathTransformation& oModelToFS);
  // oHeadToMPK = inverse(head location * A), oAxes = inverse(A), A the axis change.
  HRESULT ComputeMatrix(KORMathTransformation& oHeadToMPK, KORMathTransformation& oAxes);
  HRESULT ComputeScreenCornersInTrackingStationFrame(KORIVrcTrackingStation* iStation,
                                                     KORMathVector& ioUL, KORMathVector& oUR,
                                                     KORMathVector& ioLL, KORMathVector& ioLR);
  static void MirrorEffectOnViewport(int iMirrorMode, double& ioA, double& ioB);
  HRESULT RetrieveInfoAboutManagerTracker(int& oHeadIndex, int& oHandIndex,
                                          unsigned char& oSeveralWindows,
                                          KORUnicodeString& oHeadDaemon,
                                          KORUnicodeString& oHandDaemon);

  // Indentation of the text files.
  void Indent(KORVrcText& ioText) const;
  void IndentRight(KORVrcText& ioText);
  void IndentLeft(KORVrcText& ioText);
  void IndentRightSpace(KORVrcText& ioText);
  void IndentLeftSpace(KORVrcText& ioText);
  int IndentLevel() const { return _indentLevel; }
  void ResetIndent() { _indentLevel = 0; }

  // The message convention: empties oMessages and loads the catalog.
  HRESULT StartMessages(KORUnicodeString& oMessages);
  void AddError(KORUnicodeString& ioMessages, const char* iKey) const;
  void AddWarning(KORUnicodeString& ioMessages, const char* iKey) const;
  // One whole file made by iWriteFile, handed to the stream in one write.
  using FileWriter = HRESULT (KOREVrcConfigure::*)(KORVrcText&, KORUnicodeString&, unsigned char);
  HRESULT StreamFile(FileWriter iWriteFile, std::ostream& ioStream, KORUnicodeString& oMessages,
                     unsigned char iWrite);

  // ---- Multipipe file ----
  // The whole file: GenerateMPK once its text is complete.
  HRESULT WriteMPKFile(KORVrcText& ioText, KORUnicodeString& oMessages, unsigned char iWrite);
  HRESULT WriteMPKGeneralInformations(KORVrcText& ioText, bool iStereo);
  HRESULT WriteMPKPipeInformations(KORVrcText& ioText, KORIVrcIG* iIG, KORIVrcWindow* iMainWindow,
                                   bool iStereo);
  HRESULT WriteMPKWindowInformations(KORVrcText& ioText, KORIVrcWindow* iWindow, bool iStereo);
  // iName is the window's name, which its channel takes.
  HRESULT WriteMPKChannelInformations(KORVrcText& ioText, KORIVrcWindow* iWindow,
                                      const KORUnicodeString& iName);
  HRESULT WriteMPKAutoHMDCompoundInformations(KORVrcText& ioText, KORIVrcWindow* iWindow);
  HRESULT WriteMPKAutoEYECompoundInformations(KORVrcText& ioText, KORIVrcWindow* iWindow,
                                              bool iStereo);
  HRESULT WriteMPKTrackingInformations(KORVrcText& ioText);

  // ---- Display file ----
  // The whole file: GenerateFSConfig once its text is complete.
  HRESULT WriteFSFile(KORVrcText& ioText, KORUnicodeString& oMessages, unsigned char iWrite);
  // The screen of iView shown in iWindow; iModelToFS is empty when the main
  // screen's frame cannot be computed, which fails the screen.
  HRESULT WriteFSScreen(KORVrcText& ioText, KORIVrcView* iView, KORIVrcWindow* iWindow,
                        const std::optional<KORMathTransformation>& iModelToFS);
  // The main window, and its screen that every channel is set against; read
  // once per display file.
  struct FSReference;
  HRESULT WriteFSDesktop(KORVrcText& ioText, KORIVrcIG* iIG, const FSReference& iReference);
  // iPixelWidth and iPixelHeight are the size of the window's image
  // generator, whose desktop holds the video output.
  HRESULT WriteFSVideoOutput(KORVrcText& ioText, KORIVrcWindow* iWindow, int iPixelWidth,
                             int iPixelHeight, const FSReference& iReference);
  // iName is the window's name, which its channel takes.
  HRESULT WriteFSChannel(KORVrcText& ioText, KORIVrcWindow* iWindow, const KORUnicodeString& iName,
                         int iLeft, int iTop, int iRight, int iBottom,
                         const FSReference& iReference);
  HRESULT WriteFSOverlayChannel(KORVrcText& ioText, KORIVrcWindow* iWindow, int iLeft, int iTop,
                                int iRight, int iBottom, const FSReference& iReference);
  HRESULT WriteFSChannelStereoSection(KORVrcText& ioText, KORIVrcWindow* iWindow);

  // ---- Tracking-daemon file ----
  HRESULT GeneratePolhemusConfigFile(std::ostream& ioStream, KORIVrcTrackingStation* iStation,
                                     KORUnicodeString& oMessages, unsigned char iWrite);
  // The daemon name as the runtime knows it: "Polhemus1" is served as "Polhemus".
  static KORUnicodeString RuntimeDaemonName(const KORUnicodeString& iDaemonName);
  // The corners of a projection area; a corner that cannot be read is the origin.
  using CornerGetter = HRESULT (KORIVrcProjectionArea::*)(double*, double*, double*);
  static KORMathPoint ReadCorner(KORIVrcProjectionArea* iArea, CornerGetter iGetter);
  static void ReadScreenCorners(KORIVrcProjectionArea* iArea, KORMathVector& oUL,
                                KORMathVector& oLL, KORMathVector& oLR);
  struct AreaCorners {
    KORMathPoint ul, ll, lr;
  };
  static AreaCorners ReadAreaCorners(KORIVrcProjectionArea* iArea);
  // The three corners of iArea, read once per area while a memo is held (the
  // display file alone places every screen several times).
  AreaCorners CornersOfArea(KORIVrcProjectionArea* iArea);
  // A window's viewport: whether the window links one, and its values (left,
  // top, width, height) when they can be read. Kept like the corners.
  struct WindowViewport {
    bool linked = false;
    std::optional<std::array<double, 4>> values;
  };
  static WindowViewport ReadViewport(KORIVrcWindow* iWindow);
  WindowViewport ViewportOf(KORIVrcWindow* iWindow);

  // While files are generated each window's rendering, with the view and
  // rendering spec it gives, is looked up once: the writers ask for them many
  // times, and each lookup searches the configuration's rendering list. The
  // outermost scope keeps them (by the window's identity) and drops them when
  // it ends; the model must not change meanwhile. A writer of several files
  // (the XML document) holds one around all of them. The corners of the
  // projection areas and the windows' viewports are kept the same way.
  class RenderingMemo {
  public:
    explicit RenderingMemo(KOREVrcConfigure& ioConfigure);
    ~RenderingMemo();
    RenderingMemo(const RenderingMemo&) = delete;
    RenderingMemo& operator=(const RenderingMemo&) = delete;

  private:
    KOREVrcConfigure& _configure;
    bool _outermost;
  };

private:
  void ReleaseCommonPointers();
  struct WindowRendering {
    KORIVrcRendering_var rendering;
    KORIVrcView_var view;
    KORIVrcRenderingSpec_var spec;
    std::optional<KORVrcRenderingMode> mode;
    std::optional<KORVrcMirrorMode> mirror;
  };
  static WindowRendering LookUpRendering(KORIVrcWindow* iWindow);
  // The view and rendering spec of iRendering.
  static WindowRendering RenderingParts(const KORIVrcRendering_var& iRendering);
  // Remembers the rendering of every window that the configuration's list
  // shows, in one pass over the list.
  void RememberListedRenderings();
  bool _renderingsListed = false;
  // The remembered rendering of iWindow, looked up on first use; the lookup
  // itself when no memo is held.
  WindowRendering RenderingEntry(KORIVrcWindow* iWindow);
  // Values kept per object while a memo is held: by the object's identity,
  // and by each pointer they were asked with, which finds them again without
  // asking the object for its identity.
  template <class Value> struct Kept {
    std::unordered_map<KORBaseUnknown*, Value> byIdentity;
    std::unordered_map<const KORBaseUnknown*, const Value*> byPointer;
  };
  template <class Value> using Memo = std::optional<Kept<Value>>;
  Memo<WindowRendering> _renderings;
  // The value iRead gives for iObject, kept in ioMemo while a memo is held.
  template <class Value, class Read>
  static Value Remembered(Memo<Value>& ioMemo, KORBaseUnknown* iObject, Read iRead);
  Memo<AreaCorners> _areaCorners;
  Memo<WindowViewport> _viewports;
  // What ComputeMatrix gave (head to multipipe frame, axes) while a memo is
  // held.
  std::optional<std::pair<KORMathTransformation, KORMathTransformation>> _headFrames;
  // The non-main windows showing each view (by the view's identity), in
  // image generator and window order; empty when the image generators
  // cannot be read. Gathered once per display file, so that the screens of
  // each view do not walk every window again.
  using WindowsByView = std::unordered_map<KORBaseUnknown*, std::vector<KORIVrcWindow_var>>;
  std::optional<WindowsByView> WindowsShowingViews();

  int _indentLevel = 0;
  KORIVrcConfig_var _config;
  KORIVrcGraphicResources_var _graphicResources;
  KORIVrcGraphicSpecs_var _graphicSpecs;
  KORIVrcDevices_var _devices;
  KORIVrcHead_var _head;
  KORIVrcHandDevice_var _handDevice;
  // The display writer's running desktop origin, in pixels.
  float _desktopOffsetX = 0.0f;
  float _desktopOffsetY = 0.0f;
  // The frame's catalog, held from StartMessages to the end of the call.
  std::shared_ptr<const KORMsgCatalog> _catalog;
};
