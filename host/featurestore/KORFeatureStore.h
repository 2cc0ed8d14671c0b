#pragma once
// The one write path of a document's features. Every change (creation,
// removal, value, link, list entry, model-event connection) is made here as
// a step: the store makes it, records it in the open transaction, and tells
// the store-change listeners. Transactions, undo and redo (KORITransactions,
// answered by the document) replay recorded steps.
//
// Removal and aggregation: a feature taken out of its aggregating attribute
// and left without father is removed with its children when the outermost
// transaction commits (outside a transaction, when the write that released it
// ends), unless it was given another father meanwhile; until then it is
// pending removal, and saving leaves it out.
//
// Within one transaction, a value written again to the same attribute (not a
// link) replaces the recorded step of the first write instead of adding one:
// undo still goes back to the value before the first write, and a
// transaction that keeps writing the same values (a tracked head followed
// for hours) does not grow. Writes are not folded across a savepoint, so that
// aborting the inner part still takes back exactly its own writes.
//
// A removed feature stays in its container, dead, as long as the recorded
// history may bring it back; the store discards it (KORFeature::Dispose)
// once no recorded step refers to it.
#include "featurestore/KORISpecAttrAccess.h"
#include "featurestore/KORNotification.h"
#include "featurestore/KORStoreChange.h"
#include "featurestore/KORStoreStep.h"

#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

class KORDocument;
class KORModelObject;

class KORFeatureStore {
public:
  explicit KORFeatureStore(KORDocument& iDocument) : _document(iDocument) {}
  KORFeatureStore(const KORFeatureStore&) = delete;
  KORFeatureStore& operator=(const KORFeatureStore&) = delete;

  // Every public write operation holds one for its duration; it is false
  // (and the write must fail) while a replay runs. When the outermost one
  // ends outside a transaction, features left without father are removed.
  class Operation {
  public:
    explicit Operation(KORFeatureStore& iStore);
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    explicit operator bool() const { return _allowed; }

  private:
    KORFeatureStore& _store;
    bool _allowed;
  };

  // Makes, records and tells one step (inside an Operation).
  void Write(KORStoreStep&& ioStep);
  // A text written again within the open transaction: when the same
  // attribute was written since the innermost savepoint, the text is copied
  // into that step and into the feature, reusing the storage of both (the
  // configuration's identifier is renewed on every model event), and the
  // listeners are told; false when the write must be made as a step.
  bool RewriteText(KORFeature& ioFeature, std::size_t iAttribute, const std::string& iText);
  // A text renewed within the open transaction with a value made later
  // (KORISpecAttrAccess::RenewStringAt): when the same attribute was written
  // since the innermost savepoint, the feature keeps iMake to make its text
  // when it is needed (KORFeature::SettleText, and SettleTexts below before
  // the transaction goes on) and the listeners are told; false when the
  // renewal must be written at once.
  bool DeferText(KORFeature& ioFeature, std::size_t iAttribute, KORTextMaker iMake);
  // The listeners hear that a deferred text was renewed again.
  void TellRenewed(KORFeature& iFeature, std::size_t iAttribute) {
    Tell(KORStepKind::SetValue, &iFeature, iAttribute);
  }
  // Makes a deferred text into the feature and into the step that records it.
  void MakeText(KORFeature& ioFeature, std::size_t iAttribute, KORTextMaker iMake);
  // Model-event connections: made and recorded like writes, but not told to
  // the store-change listeners, and allowed during a replay (unrecorded).
  // iSenderIdentity is the identity of ioSender.
  void Connect(KORModelObject& ioSender, KORBaseUnknown* iSenderIdentity, KORBaseUnknown* iReceiver,
               bool iConnect);

  HRESULT Open();
  HRESULT Commit();
  HRESULT Abort();
  HRESULT Undo();
  HRESULT Redo();
  HRESULT JoinLast(int iCount);
  int Depth() const { return static_cast<int>(_savepoints.size()); }
  int UndoCount() const { return static_cast<int>(_undo.size()); }
  int RedoCount() const { return static_cast<int>(_redo.size()); }
  // The steps recorded so far in the open transaction.
  int OpenStepCount() const { return static_cast<int>(_open.size()); }
  bool IsReplaying() const { return _replaying; }
  // Whether a write would be neither recorded, nor heard by a listener, nor
  // cut off a history: what a document being loaded has.
  bool IsQuiet() const {
    return _savepoints.empty() && !_replaying && _operations == 0 && _listeners.empty() &&
           _undo.empty() && _redo.empty() && !_mayHoldDead && _orphans.empty();
  }

  // Whether iFeature, or one of its fathers, is pending removal.
  bool IsPendingRemoval(const KORFeature& iFeature) const;

  int AddListener(KORStoreListener iListener);
  void RemoveListener(int iListenerId);

  // The document closes: forgets the history and the listeners.
  void Clear();

private:
  using Steps = std::vector<KORStoreStep>;
  struct Savepoint {
    std::size_t steps;
    std::size_t orphans;
  };

  // Copies iStep's new value into the open transaction's step that last
  // wrote the same attribute since the innermost savepoint (into the storage
  // of the value it held: a tracked element's writes allocate nothing there);
  // false when none did.
  bool FoldIntoOpen(const KORStoreStep& iStep);
  // The open transaction's step that last wrote iAttribute of iFeature since
  // the innermost savepoint, or null.
  KORStoreStep* OpenWriteOf(const KORFeature* iFeature, std::size_t iAttribute);
  // Makes every deferred text: a write, a savepoint or the transaction's end
  // may not come before the renewal it follows.
  void SettleTexts() {
    if (!_deferredTexts.empty())
      SettleDeferredTexts();
  }
  void SettleDeferredTexts();
  void Perform(const KORStoreStep& iStep, bool iForward);
  void Tell(KORStepKind iKind, KORFeature* iFeature, std::size_t iAttribute);
  void NoteReleased(const KORStoreStep& iStep);
  void RemoveOrphans();
  void Replay(const Steps& iSteps, bool iForward);
  // Replays the last transaction of ioFrom and moves it to ioTo.
  HRESULT ReplayLast(std::vector<Steps>& ioFrom, std::vector<Steps>& ioTo, bool iForward);
  void DropHistory();
  // Discards the dead features that no recorded step can bring back.
  void Purge();

  KORDocument& _document;
  Steps _open; // the steps of the open transaction
  struct WrittenAttribute {
    const KORFeature* feature;
    std::size_t attribute;
    bool operator==(const WrittenAttribute&) const = default;
  };
  struct WrittenAttributeHash {
    std::size_t operator()(const WrittenAttribute& iKey) const {
      return std::hash<const void*>()(iKey.feature) ^ (iKey.attribute * 0x9e3779b97f4a7c15ULL);
    }
  };
  // Where in _open each attribute's value was last written.
  std::unordered_map<WrittenAttribute, std::size_t, WrittenAttributeHash> _lastWrites;
  std::vector<Savepoint> _savepoints;
  std::vector<Steps> _undo;
  std::vector<Steps> _redo;
  std::vector<KORSmartPtr<KORFeature>> _orphans; // released, removed at the end
  // Features that may hold a deferred text; each is recorded in _open.
  std::vector<KORFeature*> _deferredTexts;
  int _operations = 0;
  bool _replaying = false;
  bool _removingOrphans = false;
  bool _mayHoldDead = false; // dead features kept for the history may exist
  std::vector<std::pair<int, KORStoreListener>> _listeners;
  int _nextListenerId = 1;
};

// Sends iNotification about iObject through the object's model events; a
// creation also reaches the father's listeners when the object is not
// connected to its father for events.
void KORAnnounce(KORModelNotification& iNotification, KORBaseUnknown* iObject);
