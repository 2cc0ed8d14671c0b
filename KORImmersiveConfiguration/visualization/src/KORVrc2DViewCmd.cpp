#include "KORVrc2DViewCmd.h"

#include "KORVrc2DViewpoint.h"
#include "KORVrcTrace.h"

namespace {
void Trace(const char* iMethod) {
  static const KORTrace trace(KORVrcControllerTraceName);
  trace.Printf("KORVrc2DViewCmd: \t\t%s", iMethod);
}

// The schematic shown in iViewer, or null.
KORVrc2DViewpoint* SchematicOf(KORNavigation3DViewer& iViewer) {
  for (KORVisViewpoint* viewpoint : iViewer.GetSupport().GetViewpoints())
    if (auto* schematic = dynamic_cast<KORVrc2DViewpoint*>(viewpoint))
      return schematic;
  return nullptr;
}
} // namespace

// Started through the manager, the command is its exclusive running command.
KORVrc2DViewCmd::KORVrc2DViewCmd() : KORStateCommand("KORVrc2DViewCmd") {
  Trace("KORVrc2DViewCmd");
}

KORVrc2DViewCmd::~KORVrc2DViewCmd() {
  Trace("~KORVrc2DViewCmd");
}

void KORVrc2DViewCmd::Activate() {
  Trace("Activate");
  KORFrmLayout* layout = KORFrmLayout::GetCurrentLayout();
  KORFrmWindow* window = layout ? layout->GetCurrentWindow() : nullptr;
  auto* viewer = window && window->GetClassName() == KORFrmWindow::Graph3DWindowClass
                     ? dynamic_cast<KORNavigation3DViewer*>(window->GetViewer())
                     : nullptr;
  if (viewer) {
    if (KORVrc2DViewpoint* shown = SchematicOf(*viewer)) {
      shown->Release();
    } else {
      auto* made = new KORVrc2DViewpoint();
      // One that could not be set up shows nothing: it goes at once.
      if (!made->IsAttached())
        made->Release();
    }
  }
  EndCommand();
}

void KORVrc2DViewCmd::Desactivate() {
  Trace("Desactivate");
}

void KORVrc2DViewCmd::Cancel() {
  Trace("Cancel");
  KORStateCommand::Cancel();
}

extern "C" KORCommand* fctCreateKORVrc2DViewCmd(void*) {
  return new KORVrc2DViewCmd();
}
