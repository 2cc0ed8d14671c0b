#pragma once
// What the store-change listeners of a document learn: every change of a
// feature, right after it is made, whether by an edit, by undo or redo, or by
// an aborted transaction. A listener reads the new state from the feature
// itself; it may unsubscribe (itself or others) while a change is delivered.
// Listeners must not write while undo, redo or an abort replays changes: the
// store refuses such writes (the replayed transaction already holds whatever
// the original edit did in reaction).
#include <functional>

class KORISpecObject;

enum class KORStoreChangeKind {
  Create,   // the feature exists (new, or brought back with its identifier)
  Remove,   // the feature left the document (IsDeleted)
  SetValue, // a plain attribute changed
  Link      // a link attribute changed: set, cleared, entry added, removed or emptied
};

struct KORStoreChange {
  KORStoreChangeKind kind;
  KORISpecObject* feature; // no reference: valid during the call
  const char* key;         // the attribute; null for Create and Remove
};

using KORStoreListener = std::function<void(const KORStoreChange& iChange)>;
