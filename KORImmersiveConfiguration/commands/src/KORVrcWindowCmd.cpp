#include "KORVrcWindowCmd.h"

#include "KORVrcControllerTrace.h"
#include "KORVrcDlgTools.h"
#include "KORVrcTools.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcViewport.h"

#include <memory>

namespace {
constexpr const char* kAgentId = "KORVrcWindowDlgId";

template <class I> KORUnicodeString NameOf(const KORSmartPtr<I>& iElement) {
  KORUnicodeString name;
  if (iElement && FAILED(iElement->GetName(name)))
    name.clear();
  return name;
}

// The image generator the window is listed under.
KORIVrcIG_var IGOf(KORIVrcWindow* iWindow) {
  const KORISpecObject_var feature = KORQuery<KORISpecObject>(iWindow);
  KORISpecObject_var father;
  if (!feature || FAILED(feature->GetFather(father.Out())))
    return {};
  return KORQuery<KORIVrcIG>(father);
}
} // namespace

KORVrcWindowCmd::KORVrcWindowCmd(KORIVrcWindow* iWindow)
    : KORVrcEditCmd("KORVrcWindowCmd", iWindow, {kAgentId, kAgentId, kAgentId, kAgentId}),
      _window(iWindow), _givenWindow(iWindow) {}

KORDlgDialog* KORVrcWindowCmd::BuildDialog() {
  _windowDialog = new KORVrcWindowDlg(this);
  _windowDialog->Build();
  return _windowDialog;
}

void KORVrcWindowCmd::AddKindAgents() {
  AddPickAgent("GetIG", KORIVrcIG::IID)->AddElementType(KORIVrcView::IID);
}

void KORVrcWindowCmd::GetNamesOfKind(KORListValKORUnicodeString& oNames) {
  KORIVrcGraphicResources_var resources;
  KORListValKORBaseUnknown_var* igs = nullptr;
  KORIVrcFactory* factory = GetFactory();
  if (!factory || FAILED(factory->RetrieveGraphicResources(resources.Out())) ||
      FAILED(resources->GetIGs(&igs)))
    return;
  const std::unique_ptr<KORListValKORBaseUnknown_var> owned(igs);
  for (const KORBaseUnknown_var& element : *owned) {
    KORListValKORBaseUnknown_var* windows = nullptr;
    if (const KORIVrcIG_var ig = KORQuery<KORIVrcIG>(element);
        ig && SUCCEEDED(ig->GetWindows(&windows)))
      KORVrcAppendNames<KORIVrcWindow>(windows, oNames);
  }
}

KORUnicodeString KORVrcWindowCmd::GetDialogName() {
  return _windowDialog->GetWindowName();
}

bool KORVrcWindowCmd::IsMainWindow(KORIVrcWindow* iWindow) {
  KORIVrcWindow_var main;
  KORIVrcFactory* factory = GetFactory();
  return iWindow && factory && SUCCEEDED(factory->RetrieveMainWindow(main.Out())) &&
         CompareInterfacePointers(main.get(), iWindow) == 1;
}

void KORVrcWindowCmd::SaveValues() {
  _saved = Values();
  if (FAILED(_window->GetName(_saved.name)))
    _saved.name.clear();
  _saved.ig = IGOf(_window.get());
  if (FAILED(_window->GetView(_saved.view.Out())))
    _saved.view = nullptr;
  KORIVrcRenderingSpec_var spec;
  if (SUCCEEDED(_window->GetRenderingSpec(spec.Out()))) {
    if (FAILED(spec->GetRenderingMode(&_saved.renderingMode)))
      _saved.renderingMode = KORVrcRenderingMono;
    if (FAILED(spec->GetMirrorMode(&_saved.mirrorMode)))
      _saved.mirrorMode = KORVrcMirrorNone;
  }
  KORIVrcViewport_var viewport;
  KORVrcViewportValues& saved = _saved.viewport;
  if (FAILED(_window->GetViewport(viewport.Out())) ||
      FAILED(viewport->GetViewport(&saved.left, &saved.top, &saved.width, &saved.height)))
    saved = KORVrcViewportValues();
  _saved.main = IsMainWindow(_window.get());
}

void KORVrcWindowCmd::InitDialog() {
  KORVrcControllerTrace().Write("KORVrcWindowCmd::InitDefaultValues");
  if (IsCreating())
    _saved.name = ComposeDefaultName("Window", 1);
  _chosenIG = _saved.ig;
  _chosenView = _saved.view;
  _windowDialog->SetWindowName(_saved.name);
  _windowDialog->SetRenderingMode(_saved.renderingMode);
  _windowDialog->SetMirrorMode(_saved.mirrorMode);
  _windowDialog->SetMain(_saved.main);
  _windowDialog->SetViewport(_saved.viewport);
  _windowDialog->SetIGName(NameOf(_chosenIG));
  _windowDialog->SetViewName(NameOf(_chosenView));
}

void KORVrcWindowCmd::OnPicked(KORBaseUnknown* iElement) {
  if (KORIVrcIG_var ig = KORQuery<KORIVrcIG>(iElement)) {
    _chosenIG = ig;
    _windowDialog->SetIGName(NameOf(ig));
  } else if (KORIVrcView_var view = KORQuery<KORIVrcView>(iElement)) {
    _chosenView = view;
    _windowDialog->SetViewName(NameOf(view));
  }
}

bool KORVrcWindowCmd::CheckValues() {
  if (_chosenIG && _chosenView)
    return true;
  ShowRefusal("NoIGOrView",
              "A window needs an image generator and a view: pick them in the viewer or the tree.");
  return false;
}

KORVrcWindowCmd::Values KORVrcWindowCmd::DialogValues() const {
  return {_windowDialog->GetWindowName(),      _chosenIG,
          _chosenView,                         _windowDialog->GetViewport(),
          _windowDialog->GetRenderingMode(),   _windowDialog->GetMirrorMode(),
          _windowDialog->GetMain()};
}

bool KORVrcWindowCmd::RemoveWindow() {
  if (!_window)
    return false;
  const bool wasMain = IsMainWindow(_window.get());
  // Removing the element, rather than only unlisting it from its image
  // generator, takes its rendering off the configuration's list too.
  if (!RemoveFromModel(_window.get())) {
    const KORIVrcIG_var ig = IGOf(_window.get());
    if (!ig || FAILED(ig->RemoveWindow(_window.get())))
      KORVrcControllerTrace().Write("KORVrcWindowCmd: the window could not be removed");
  }
  _window = nullptr;
  return wasMain;
}

bool KORVrcWindowCmd::Build(const Values& iValues, bool iWasMain) {
  KORIVrcFactory* factory = GetFactory();
  if (!factory)
    return false;
  const KORVrcViewportValues& place = iValues.viewport;
  KORIVrcViewport_var viewport;
  if (FAILED(factory->CreateViewport(place.left, place.top, place.width, place.height,
                                     viewport.Out())) ||
      FAILED(factory->CreateVrcWindow(iValues.name, viewport.get(), iValues.ig.get(),
                                      _window.Out())))
    return false;
  KORIVrcRenderingSpec_var spec;
  KORIVrcRendering_var rendering;
  if (FAILED(factory->CreateRenderingSpec(iValues.renderingMode, iValues.mirrorMode, spec.Out())) ||
      FAILED(factory->CreateRendering(iValues.name, spec.get(), iValues.view.get(), _window.get(),
                                      rendering.Out())))
    return false;
  if (!iValues.main && !iWasMain)
    return true;
  KORIVrcGraphicResources_var resources;
  return SUCCEEDED(factory->RetrieveGraphicResources(resources.Out())) &&
         SUCCEEDED(resources->SetMainWindow(iValues.main ? _window.get() : nullptr));
}

KORBaseUnknown_var KORVrcWindowCmd::CreateElement() {
  TraceMethod("ModifyWindow()");
  // What a failed build made before the failure stays in the model.
  if (!Build(DialogValues(), /*iWasMain=*/false))
    return {};
  return KORBaseUnknown_var(_window.get());
}

bool KORVrcWindowCmd::WriteValues() {
  TraceMethod("ModifyWindow()");
  const Values values = DialogValues();
  const bool wasMain = RemoveWindow();
  const bool built = Build(values, wasMain);
  ReplaceElement(_window.get());
  return built;
}

bool KORVrcWindowCmd::RestoreValues() {
  // Nothing to give back until OK or Apply rebuilt the given window.
  if (CompareInterfacePointers(_window.get(), _givenWindow.get()) == 1)
    return true;
  RemoveWindow();
  const bool built = Build(_saved, /*iWasMain=*/false);
  ReplaceElement(_window.get());
  return built;
}

extern "C" KORCommand* fctCreateKORVrcWindowCmd(void* iWindow) {
  return new KORVrcWindowCmd(static_cast<KORIVrcWindow*>(iWindow));
}
