#pragma once
// The module's command header: available unless the UI-active document is
// kept elsewhere (a persistency mode other than 0 on a host other than 0, or
// whose host cannot be read), re-evaluated on every completed UI-active
// change of the editor that was current when the header was made, while that
// editor is the current one.
#include "command/KORCommandHeader.h"

class KORVrcCmdHeader : public KORCommandHeader {
public:
  KORVrcCmdHeader(const KORString& iHeaderId, const KORString& iLoadName,
                  const KORString& iClassName, void* iArgument, const KORString& iResourceFile,
                  int iState);
  ~KORVrcCmdHeader() override;

  // The copy has no resource file; it subscribes and evaluates as a new one.
  KORCommandHeader* Clone() override;
  KORString GetResourceFile(int iIndex) override;
  // Where the host looks for the resource file.
  KORString GetFW() override;
  virtual void ManageAvailability();

  void AddUIChangeCB();
  void UIActiveChangedCB();
  void CleanCB();

protected:
  KORVrcCmdHeader(const KORVrcCmdHeader& iOther);

private:
  KORString _resourceFile;
  KORCallbackHandle _editorCallback = 0; // 0: not subscribed
};
