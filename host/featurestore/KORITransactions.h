#pragma once
// Transactions, undo and redo of a document (answered by the document).
//
// Every change of the document's features (values, links, list entries,
// creations, removals) and of their model-event connections goes through the
// store, which records it while a transaction is open. Opening inside an open
// transaction joins it: only the outermost commit makes one undoable step.
// Abort takes back what was changed since the matching open (the whole
// transaction when outermost, only the inner part otherwise), raising model
// events as undo does.
//
// Undo and redo replay a whole committed transaction backwards or forwards,
// features with their identifiers included, and raise the model events a
// user's edit would raise: a deletion for each feature that dies (while it is
// still connected), then a creation for each feature that comes back and a
// modification for each other feature whose attributes changed. While a
// replay runs, the store refuses writes.
//
// Writes outside any transaction (loaders, importers, tests) are made at once
// and are not undoable: they end the recorded history (undo and redo), which
// would no longer lead from one state to the next.
//
// Fails (E_FAIL): commit or abort without an open transaction; undo or redo
// while a transaction is open, while a replay runs, or with nothing to replay;
// opening while a replay runs.
#include "objectmodel/KORBaseUnknown.h"

class KORITransactions : public KORBaseUnknown {
  KOR_INTERFACE(KORITransactions, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT OpenTransaction() = 0;
  [[nodiscard]] virtual HRESULT CommitTransaction() = 0;
  [[nodiscard]] virtual HRESULT AbortTransaction() = 0;
  [[nodiscard]] virtual HRESULT Undo() = 0;
  [[nodiscard]] virtual HRESULT Redo() = 0;
  // Joins the last iCount committed transactions into one, which undo and
  // redo then replay whole (a command whose Applies each committed). Fails
  // while a transaction is open or a replay runs, or when fewer than iCount
  // (or fewer than one) are there to undo.
  [[nodiscard]] virtual HRESULT JoinLastTransactions(int iCount) = 0;
  // How many opens are not yet committed or aborted (0: none is open).
  virtual int GetTransactionDepth() = 0;
  // How many committed transactions undo, and redo, can replay.
  virtual int GetUndoCount() = 0;
  virtual int GetRedoCount() = 0;
};
KOR_DECLARE_VAR(KORITransactions)
