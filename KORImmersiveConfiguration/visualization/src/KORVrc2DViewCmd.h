#pragma once
// "btn2DView": shows the 2D schematic in the current 3D window, or takes it
// away when it is shown there, and ends at once. Outside a 3D window with a
// navigation viewer it does nothing.
#include "command/KORStateCommand.h"

class KORVrc2DViewCmd : public KORStateCommand {
public:
  KORVrc2DViewCmd();
  ~KORVrc2DViewCmd() override;

  // The command has no states: it toggles when it starts.
  void BuildGraph() override {}
  void Activate() override;
  void Desactivate();
  void Cancel() override;
};

extern "C" KORCommand* fctCreateKORVrc2DViewCmd(void* iArgument);
