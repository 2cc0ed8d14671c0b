#include "frame/KORCommandTransactions.h"

#include "command/KORFrmEditor.h"

#include <algorithm>
#include <utility>

KORCommandTransactions::Recording* KORCommandTransactions::Find(const KORCommand& iCommand) {
  auto found =
      std::find_if(_recordings.begin(), _recordings.end(),
                   [&](const Recording& iRecording) { return iRecording.command == &iCommand; });
  return found == _recordings.end() ? nullptr : &*found;
}

void KORCommandTransactions::Forget(const KORCommand& iCommand) {
  std::erase_if(_recordings,
                [&](const Recording& iRecording) { return iRecording.command == &iCommand; });
}

void KORCommandTransactions::OnCommandStarted(KORCommand& iCommand) {
  KORFrmEditor* editor = iCommand.GetEditor();
  auto document = KORQuery<KORITransactions>(editor ? editor->GetDocument() : nullptr);
  if (document && SUCCEEDED(document->OpenTransaction()))
    _recordings.push_back({&iCommand, document, 0});
}

void KORCommandTransactions::OnCommandCommitted(KORCommand& iCommand) {
  Recording* recording = Find(iCommand);
  if (!recording)
    return;
  KORITransactions* document = recording->document.get();
  const int before = document->GetUndoCount();
  if (FAILED(document->CommitTransaction())) {
    Forget(iCommand);
    return;
  }
  // An empty transaction makes no step, and so nothing for a later Cancel to
  // take back.
  recording->applied += document->GetUndoCount() - before;
  // After OK the command ends and this empty transaction is aborted.
  if (FAILED(document->OpenTransaction()))
    Forget(iCommand);
}

void KORCommandTransactions::OnCommandAborted(KORCommand& iCommand) {
  Recording* recording = Find(iCommand);
  if (!recording)
    return;
  KORITransactions_var document = recording->document;
  const int applied = recording->applied;
  Forget(iCommand);
  if (FAILED(document->AbortTransaction()))
    return;
  for (int step = 0; step < applied; ++step)
    if (FAILED(document->Undo()))
      return;
}

void KORCommandTransactions::OnCommandEnded(KORCommand& iCommand) {
  Recording* recording = Find(iCommand);
  if (!recording)
    return;
  // The command ended by itself (after OK, only an empty transaction is
  // left): it keeps what it wrote, as a one-shot command does.
  KORITransactions_var document = recording->document;
  const int before = document->GetUndoCount();
  int committed = recording->applied;
  Forget(iCommand);
  if (FAILED(document->CommitTransaction()))
    return; // only when an undo under the command already closed it
  committed += document->GetUndoCount() - before;
  // What its Applies and its OK kept is one step, which undo takes back whole.
  if (committed > 1)
    KORIgnoreResult(document->JoinLastTransactions(committed),
                    "the command's own commits are the last ones, with nothing open");
}

void KORDragTransactions::OnDragStarted() {
  _commands.CancelActiveCommand();
  auto document = KORQuery<KORITransactions>(_editor.GetDocument());
  if (document && SUCCEEDED(document->OpenTransaction()))
    _document = document;
}

void KORDragTransactions::OnDragEnded() {
  KORITransactions_var document = std::exchange(_document, nullptr);
  if (document)
    KORIgnoreResult(document->CommitTransaction(),
                    "fails only when an undo during the drag closed the transaction already");
}
