#include "KORVrc2DViewpoint.h"

#include "KORVrcTrace.h"
#include "command/KORCommandEnvironment.h"
#include "command/KORFrmEditor.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORIContainer.h"
#include "featurestore/KORIDocRoots.h"
#include "interfaces/KORIVrcFactory.h"

namespace {
const KORTrace& ViewTrace() {
  static const KORTrace trace(KORVrcViewTraceName);
  return trace;
}

KORFrmEditor* CurrentEditor() {
  KORCommandEnvironment* environment = KORCommandEnvironment::Current();
  return environment ? environment->GetCurrentEditor() : nullptr;
}

// The document's first root, its compound container and its configuration
// container; empty when one of them is missing.
KORPathElement SchematicPath(KORBaseUnknown* iDocument) {
  auto roots = KORQuery<KORIDocRoots>(iDocument);
  KOROwnedList listed(roots ? roots->GiveDocRoots() : nullptr);
  auto document = KORQuery<KORIDocument>(iDocument);
  auto factory = KORQuery<KORIVrcFactory>(iDocument);
  KORBaseUnknown_var compound;
  KORIContainer_var container;
  if (!listed || listed->IsEmpty() || !document || !factory ||
      FAILED(document->GetRootContainer(compound.Out())) ||
      FAILED(factory->RetrieveVrcContainer(container.Out())))
    return {};
  return KORPathElement{(*listed)[1].get(), compound.get(), container.get()};
}
} // namespace

KORVrc2DViewpoint::KORVrc2DViewpoint() {
  ViewTrace().Write("KORVrc2DViewpoint - Constructor");
  if (FAILED(InitViewpoint()))
    return;
  SetAnchor(9);
  AttachedSceneModified();
  _windowDeletedCB = _window->GetDispatcher().AddListener([this](const KORNotification& iEvent) {
    if (auto deleted = dynamic_cast<const KORFrmWindowDeleted*>(&iEvent))
      FrmWindowDestroyedCB(deleted->GetWindow());
  });
}

KORVrc2DViewpoint::~KORVrc2DViewpoint() {
  ViewTrace().Write("KORVrc2DViewpoint - Destructor");
  if (_window && _windowDeletedCB)
    _window->GetDispatcher().RemoveListener(_windowDeletedCB);
  DestroyVrcViewpoint();
  if (_containerEvents)
    _containerEvents->GetDispatcher()->RemoveListener(_connexionCB);
}

Eigen::AlignedBox2d KORVrc2DViewpoint::FixedBox() {
  return Eigen::AlignedBox2d(Eigen::Vector2d(-20.0, -20.0), Eigen::Vector2d(2320.0, 300.0));
}

HRESULT KORVrc2DViewpoint::InitViewpoint() {
  KORFrmLayout* layout = KORFrmLayout::GetCurrentLayout();
  KORVisManager* manager = KORVisManager::GetVisManager();
  _window = layout ? layout->GetCurrentWindow() : nullptr;
  _editor = CurrentEditor();
  if (!_window || !_editor || !manager ||
      _window->GetClassName() != KORFrmWindow::Graph3DWindowClass)
    return E_FAIL;
  _viewer = dynamic_cast<KORNavigation3DViewer*>(_window->GetViewer());
  if (!_viewer)
    return E_FAIL;
  _resizeCB = _viewer->GetSupport().GetDispatcher().AddListener(
      [this](const KORNotification&) { AttachedSceneModified(); });

  _path = SchematicPath(_editor->GetDocument());
  if (_path.IsEmpty())
    return E_FAIL;
  auto containerEvents = KORQuery<KORIModelEvents>(_path.GetLastElement());
  if (!containerEvents || !containerEvents->GetDispatcher())
    return E_FAIL;
  _containerEvents = containerEvents;
  _connexionCB = _containerEvents->GetDispatcher()->AddListener(
      [this](const KORNotification&) { AttachedSceneModified(); });

  _viewer->GetSupport().AddViewpoint(this);
  AttachPath(*manager, _path, KORVisDimension::TwoD, &_editor->GetSelection());
  _attached = true;
  return S_OK;
}

void KORVrc2DViewpoint::AttachedSceneModified() {
  ViewTrace().Write("KORVrc2DViewpoint - Modify");
  if (!_viewer)
    return;
  KORGraphicSupport& support = _viewer->GetSupport();
  ReframeOn(FixedBox(), support.GetSize(), support.GetMMPerSupportUnit(), support.GetPixelRatio());
}

void KORVrc2DViewpoint::FrmWindowDestroyedCB(KORFrmWindow& iWindow) {
  ViewTrace().Write("KORVrc2DViewpoint - DetachViewCB");
  if (&iWindow == _window)
    Release();
}

void KORVrc2DViewpoint::DestroyVrcViewpoint() {
  if (_viewer && _resizeCB)
    _viewer->GetSupport().GetDispatcher().RemoveListener(_resizeCB);
  _resizeCB = 0;
  if (!_attached)
    return;
  DetachPath();
  _viewer->GetSupport().RemoveViewpoint(this);
  _viewer = nullptr;
  _window = nullptr;
  _attached = false;
}
