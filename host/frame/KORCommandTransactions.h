#pragma once
// Makes each command started in a frame one transaction of the document its
// editor edits. The command's start opens the transaction; OK commits it;
// Apply commits and opens another for the rest of the command; Cancel, the
// window's close and a cancellation abort what is open and take back what
// the command's Applies committed, so that the document is as it was before
// the command (whatever the command's own restore managed). A command whose
// editor has no document, or one without transactions, runs unrecorded.
#include "command/KORCommandManager.h"
#include "featurestore/KORITransactions.h"

#include <vector>

class KORCommandTransactions final : public KORCommandObserver {
public:
  void OnCommandStarted(KORCommand& iCommand) override;
  void OnCommandCommitted(KORCommand& iCommand) override;
  void OnCommandAborted(KORCommand& iCommand) override;
  void OnCommandEnded(KORCommand& iCommand) override;

private:
  struct Recording {
    const KORCommand* command;
    KORITransactions_var document;
    int applied; // transactions committed by Apply so far
  };
  Recording* Find(const KORCommand& iCommand);
  void Forget(const KORCommand& iCommand);

  std::vector<Recording> _recordings;
};
