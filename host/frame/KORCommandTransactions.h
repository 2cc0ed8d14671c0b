#pragma once
// Makes each command started in a frame one transaction of the document its
// editor edits. The command's start opens the transaction; OK commits it;
// Apply commits and opens another for the rest of the command, and when the
// command ends its commits are joined into one undo step; Cancel, the
// window's close and a cancellation abort what is open and take back what
// the command's Applies committed, so that the document is as it was before
// the command (whatever the command's own restore managed). A command whose
// editor has no document, or one without transactions, runs unrecorded.
#include "command/KORCommandManager.h"
#include "featurestore/KORITransactions.h"
#include "visu/KOR3DManipulator.h"

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

// Makes each drag of the 3D manipulator one transaction of the document the
// editor edits: a drag cancels the running command first, as pressing another
// toolbar button would, so that the drag is a step of its own.
class KORDragTransactions final : public KORDragObserver {
public:
  KORDragTransactions(KORFrmEditor& iEditor, KORCommandManager& iCommands)
      : _editor(iEditor), _commands(iCommands) {}
  void OnDragStarted() override;
  void OnDragEnded() override;

private:
  KORFrmEditor& _editor;
  KORCommandManager& _commands;
  KORITransactions_var _document; // while a drag is recorded
};
