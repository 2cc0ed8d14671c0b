#include "featurestore/KORFeatureStore.h"

#include "featurestore/KORDocument.h"
#include "featurestore/KORIModelEvents.h"
#include "system/KORTrace.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {
const KORTrace& StoreTrace() {
  static const KORTrace trace("KORFeatureStore");
  return trace;
}

bool ChangesValues(KORStepKind iKind) {
  return iKind == KORStepKind::SetValue || iKind == KORStepKind::InsertEntry ||
         iKind == KORStepKind::EraseEntry || iKind == KORStepKind::ReplaceEntry;
}
} // namespace

void KORAnnounce(KORModelNotification& ioNotification, KORBaseUnknown* iObject) {
  auto events = KORQuery<KORIModelEvents>(iObject);
  if (!events || FAILED(events->Dispatch(ioNotification)))
    return;
  KORBaseUnknown* father = ioNotification.Father();
  if (ioNotification.Kind() != KORNotificationKind::Create || !father)
    return;
  auto identity = KORQuery<KORBaseUnknown>(father);
  auto fatherEvents = KORQuery<KORIModelEvents>(father);
  if (fatherEvents && ioNotification.MarkReached(identity.get()) &&
      FAILED(fatherEvents->Receive(ioNotification)))
    StoreTrace().Write("a father refused the creation of one of its features");
}

KORFeatureStore::Operation::Operation(KORFeatureStore& iStore)
    : _store(iStore), _allowed(!iStore._replaying) {
  if (_allowed)
    ++_store._operations;
}

KORFeatureStore::Operation::~Operation() {
  if (_allowed && --_store._operations == 0 && _store._savepoints.empty())
    _store.RemoveOrphans();
}

void KORFeatureStore::Write(KORStoreStep&& ioStep) {
  SettleTexts();
  const bool recorded = !_savepoints.empty();
  if (recorded && ioStep.kind == KORStepKind::SetValue && FoldIntoOpen(ioStep)) {
    // The recorded step has the new value: the feature takes this one, and
    // the value it leaves is no longer needed (undo goes back further).
    ioStep.feature->PutValue(ioStep.attribute, std::move(ioStep.newValue));
    Tell(KORStepKind::SetValue, ioStep.feature.get(), ioStep.attribute);
    return;
  }
  // A value is moved in rather than copied when it need not be kept, and the
  // previous one is kept as it leaves.
  if (ioStep.kind != KORStepKind::SetValue)
    Perform(ioStep, /*iForward=*/true);
  else if (recorded)
    ioStep.oldValue = ioStep.feature->PutValue(ioStep.attribute, ioStep.newValue);
  else
    ioStep.oldValue = ioStep.feature->PutValue(ioStep.attribute, std::move(ioStep.newValue));
  NoteReleased(ioStep);
  const KORSmartPtr<KORFeature> feature = ioStep.feature;
  const KORStepKind kind = ioStep.kind;
  const std::size_t attribute = ioStep.attribute;
  if (!recorded) {
    // Not undoable: the recorded history no longer leads to this state.
    Tell(kind, feature.get(), attribute);
    DropHistory();
    if (kind == KORStepKind::Remove)
      feature->Container()->DiscardDead({});
    return;
  }
  // Recorded before the listeners hear of it: what they write in reaction
  // comes after it in the transaction.
  if (kind == KORStepKind::SetValue)
    _lastWrites[{feature.get(), attribute}] = _open.size();
  _open.push_back(std::move(ioStep));
  _mayHoldDead = _mayHoldDead || kind == KORStepKind::Remove;
  Tell(kind, feature.get(), attribute);
}

bool KORFeatureStore::FoldIntoOpen(const KORStoreStep& iStep) {
  if (KORIsLinkType(iStep.feature->Type().attributes[iStep.attribute].type))
    return false; // a link's old and new targets take part in orphan removal
  KORStoreStep* recorded = OpenWriteOf(iStep.feature.get(), iStep.attribute);
  if (!recorded)
    return false;
  recorded->newValue = iStep.newValue;
  return true;
}

KORStoreStep* KORFeatureStore::OpenWriteOf(const KORFeature* iFeature, std::size_t iAttribute) {
  if (_savepoints.empty())
    return nullptr;
  const auto found = _lastWrites.find({iFeature, iAttribute});
  if (found == _lastWrites.end() || found->second < _savepoints.back().steps)
    return nullptr;
  return &_open[found->second];
}

bool KORFeatureStore::RewriteText(KORFeature& ioFeature, std::size_t iAttribute,
                                  const std::string& iText) {
  if (_replaying)
    return false;
  SettleTexts();
  KORStoreStep* recorded = OpenWriteOf(&ioFeature, iAttribute);
  auto* recordedText = recorded ? std::get_if<std::string>(&recorded->newValue) : nullptr;
  auto* currentText = std::get_if<std::string>(&ioFeature._values[iAttribute]);
  if (!recordedText || !currentText)
    return false;
  recordedText->assign(iText);
  currentText->assign(iText);
  Tell(KORStepKind::SetValue, &ioFeature, iAttribute);
  return true;
}

bool KORFeatureStore::DeferText(KORFeature& ioFeature, std::size_t iAttribute,
                                KORTextMaker iMake) {
  if (_replaying)
    return false;
  KORStoreStep* recorded = OpenWriteOf(&ioFeature, iAttribute);
  if (!recorded || !std::holds_alternative<std::string>(recorded->newValue) ||
      !std::holds_alternative<std::string>(ioFeature._values[iAttribute]))
    return false;
  if (std::find(_deferredTexts.begin(), _deferredTexts.end(), &ioFeature) == _deferredTexts.end())
    _deferredTexts.push_back(&ioFeature);
  // Set before the listeners hear of it: one reading the text makes it.
  ioFeature._pendingText = iMake;
  ioFeature._pendingIndex = iAttribute;
  Tell(KORStepKind::SetValue, &ioFeature, iAttribute);
  return true;
}

void KORFeatureStore::MakeText(KORFeature& ioFeature, std::size_t iAttribute, KORTextMaker iMake) {
  auto* current = std::get_if<std::string>(&ioFeature._values[iAttribute]);
  if (!current)
    return;
  iMake(*current);
  if (KORStoreStep* recorded = OpenWriteOf(&ioFeature, iAttribute))
    if (auto* recordedText = std::get_if<std::string>(&recorded->newValue))
      recordedText->assign(*current);
}

void KORFeatureStore::SettleDeferredTexts() {
  // Making a text writes nothing through the store: the list stays as it is.
  for (KORFeature* feature : _deferredTexts)
    feature->SettleText();
  _deferredTexts.clear();
}

namespace {
void Wire(KORModelObject* iSender, KORBaseUnknown* iReceiver, bool iConnect) {
  if (!iSender)
    return;
  if (iConnect)
    iSender->Dispatcher().AddReceiver(iReceiver);
  else
    iSender->Dispatcher().RemoveReceiver(iReceiver);
}
} // namespace

void KORFeatureStore::Connect(KORModelObject& ioSender, KORBaseUnknown* iSenderIdentity,
                              KORBaseUnknown* iReceiver, bool iConnect) {
  // With nothing to record (a document being loaded connects every element),
  // the connection is made without building a step.
  if (_savepoints.empty() || _replaying) {
    Wire(&ioSender, iReceiver, iConnect);
    return;
  }
  SettleTexts();
  KORStoreStep step(iConnect ? KORStepKind::Connect : KORStepKind::Disconnect);
  step.sender = KORBaseUnknown_var(iSenderIdentity);
  step.receiver = KORBaseUnknown_var(iReceiver);
  Perform(step, /*iForward=*/true);
  _open.push_back(std::move(step));
}

void KORFeatureStore::Perform(const KORStoreStep& iStep, bool iForward) {
  KORFeature* feature = iStep.feature.get();
  const KORSmartPtr<KORFeature>& entry = iForward ? iStep.newEntry : iStep.oldEntry;
  KORModelObject* sender = KORModelObject::From(iStep.sender);
  switch (iStep.KindWhen(iForward)) {
  case KORStepKind::Create:
    feature->Revive();
    break;
  case KORStepKind::Remove:
    feature->Kill();
    break;
  case KORStepKind::SetValue:
    feature->PutValue(iStep.attribute, iForward ? iStep.newValue : iStep.oldValue);
    break;
  case KORStepKind::InsertEntry:
    feature->InsertEntry(iStep.attribute, iStep.position, entry);
    break;
  case KORStepKind::EraseEntry:
    feature->EraseEntry(iStep.attribute, iStep.position);
    break;
  case KORStepKind::ReplaceEntry:
    feature->ReplaceEntry(iStep.attribute, iStep.position, entry);
    break;
  case KORStepKind::Connect:
  case KORStepKind::Disconnect:
    Wire(sender, iStep.receiver, iStep.KindWhen(iForward) == KORStepKind::Connect);
    break;
  }
}

void KORFeatureStore::Tell(KORStepKind iKind, KORFeature* iFeature, std::size_t iAttribute) {
  if (_listeners.empty() || !iFeature)
    return;
  KORStoreChange change{KORStoreChangeKind::Create, iFeature, nullptr};
  if (iKind == KORStepKind::Remove) {
    change.kind = KORStoreChangeKind::Remove;
  } else if (ChangesValues(iKind)) {
    const KORAttributeDef& attribute = iFeature->Type().attributes[iAttribute];
    change.kind =
        KORIsLinkType(attribute.type) ? KORStoreChangeKind::Link : KORStoreChangeKind::SetValue;
    change.key = attribute.key.c_str();
  } else if (iKind != KORStepKind::Create) {
    return;
  }
  // Deliver to a snapshot, skipping whoever unsubscribed meanwhile.
  std::vector<int> ids;
  for (const auto& entry : _listeners)
    ids.push_back(entry.first);
  for (int id : ids) {
    auto found = std::find_if(_listeners.begin(), _listeners.end(),
                              [&](const auto& iEntry) { return iEntry.first == id; });
    if (found == _listeners.end())
      continue;
    KORStoreListener listener = found->second; // the call may erase the entry
    listener(change);
  }
}

void KORFeatureStore::NoteReleased(const KORStoreStep& iStep) {
  const bool releases = iStep.kind == KORStepKind::SetValue ||
                        iStep.kind == KORStepKind::EraseEntry ||
                        iStep.kind == KORStepKind::ReplaceEntry;
  if (!releases || !iStep.feature->Type().attributes[iStep.attribute].aggregating)
    return;
  auto note = [&](const KORSmartPtr<KORFeature>& iChild) {
    if (iChild && !iChild->IsDead() && !iChild->Father() && !iChild->IsBeingRemoved())
      _orphans.push_back(iChild);
  };
  if (iStep.kind != KORStepKind::SetValue)
    note(iStep.oldEntry);
  else if (const auto* links = std::get_if<KORFeature::Links>(&iStep.oldValue))
    for (const auto& child : *links)
      note(child);
}

void KORFeatureStore::RemoveOrphans() {
  if (_removingOrphans)
    return;
  _removingOrphans = true;
  // Removing one may release others: the list may grow meanwhile.
  for (std::size_t i = 0; i < _orphans.size(); ++i) {
    KORSmartPtr<KORFeature> orphan = _orphans[i];
    if (!orphan->IsDead() && !orphan->Father())
      KORRemoveByLifeCycle(*orphan);
  }
  _orphans.clear();
  _removingOrphans = false;
}

bool KORFeatureStore::IsPendingRemoval(const KORFeature& iFeature) const {
  if (_orphans.empty())
    return false;
  const KORFeature* top = &iFeature;
  while (top->Father())
    top = top->Father();
  return std::any_of(_orphans.begin(), _orphans.end(),
                     [&](const KORSmartPtr<KORFeature>& iOrphan) { return iOrphan.get() == top; });
}

HRESULT KORFeatureStore::Open() {
  if (_replaying)
    return E_FAIL;
  SettleTexts();
  _savepoints.push_back({_open.size(), _orphans.size()});
  return S_OK;
}

HRESULT KORFeatureStore::Commit() {
  if (_savepoints.empty() || _replaying)
    return E_FAIL;
  SettleTexts();
  // Removals of features left without father belong to the transaction.
  if (_savepoints.size() == 1)
    RemoveOrphans();
  _savepoints.pop_back();
  if (!_savepoints.empty() || _open.empty())
    return S_OK;
  _undo.push_back(std::move(_open));
  _open.clear();
  _lastWrites.clear();
  if (!_redo.empty()) {
    _redo.clear();
    Purge();
  }
  return S_OK;
}

HRESULT KORFeatureStore::Abort() {
  if (_savepoints.empty() || _replaying)
    return E_FAIL;
  SettleTexts();
  const Savepoint mark = _savepoints.back();
  _savepoints.pop_back();
  const auto from = _open.begin() + static_cast<std::ptrdiff_t>(mark.steps);
  Steps undone(std::make_move_iterator(from), std::make_move_iterator(_open.end()));
  _open.erase(from, _open.end());
  // The writes that remain are the last ones again.
  _lastWrites.clear();
  for (std::size_t i = 0; i < _open.size(); ++i)
    if (_open[i].kind == KORStepKind::SetValue)
      _lastWrites[{_open[i].feature.get(), _open[i].attribute}] = i;
  _orphans.resize(std::min(_orphans.size(), mark.orphans));
  Replay(undone, /*iForward=*/false);
  // Features made in the aborted part can never come back.
  if (std::any_of(undone.begin(), undone.end(),
                  [](const KORStoreStep& iStep) { return iStep.kind == KORStepKind::Create; }))
    Purge();
  return S_OK;
}

HRESULT KORFeatureStore::Undo() {
  return ReplayLast(_undo, _redo, /*iForward=*/false);
}

HRESULT KORFeatureStore::Redo() {
  return ReplayLast(_redo, _undo, /*iForward=*/true);
}

HRESULT KORFeatureStore::JoinLast(int iCount) {
  if (_replaying || !_savepoints.empty() || iCount < 1 ||
      static_cast<std::size_t>(iCount) > _undo.size())
    return E_FAIL;
  const auto first = _undo.end() - iCount;
  Steps joined = std::move(*first);
  for (auto part = first + 1; part != _undo.end(); ++part)
    joined.insert(joined.end(), std::make_move_iterator(part->begin()),
                  std::make_move_iterator(part->end()));
  _undo.erase(first, _undo.end());
  _undo.push_back(std::move(joined));
  return S_OK;
}

HRESULT KORFeatureStore::ReplayLast(std::vector<Steps>& ioFrom, std::vector<Steps>& ioTo,
                                    bool iForward) {
  if (_replaying || !_savepoints.empty() || ioFrom.empty())
    return E_FAIL;
  Steps steps = std::move(ioFrom.back());
  ioFrom.pop_back();
  Replay(steps, iForward);
  ioTo.push_back(std::move(steps));
  return S_OK;
}

void KORFeatureStore::Replay(const Steps& iSteps, bool iForward) {
  _replaying = true;
  _mayHoldDead = true;
  const std::size_t count = iSteps.size();
  auto at = [&](std::size_t i) -> const KORStoreStep& {
    return iSteps[iForward ? i : count - 1 - i];
  };

  // Which features die and which come back, in the order of the replay:
  // children die before their fathers and come back after them.
  std::vector<KORFeature*> lives;
  std::unordered_map<KORFeature*, bool> aliveAfter;
  for (std::size_t i = 0; i < count; ++i) {
    const KORStepKind kind = at(i).KindWhen(iForward);
    if (kind != KORStepKind::Create && kind != KORStepKind::Remove)
      continue;
    KORFeature* feature = at(i).feature.get();
    if (!aliveAfter.count(feature))
      lives.push_back(feature);
    aliveAfter[feature] = kind == KORStepKind::Create;
  }
  std::vector<KORFeature*> born;
  std::unordered_set<KORFeature*> bornOrDying;
  for (KORFeature* feature : lives) {
    if (feature->IsDead() == aliveAfter[feature])
      bornOrDying.insert(feature);
    if (!feature->IsDead() && !aliveAfter[feature]) {
      // Announced while still alive and connected, so that it travels.
      KORDelete deleted(feature->Identity());
      KORAnnounce(deleted, feature->Identity());
      feature->AnnounceDeath();
    } else if (feature->IsDead() && aliveAfter[feature]) {
      born.push_back(feature);
    }
  }

  std::vector<KORFeature*> changed;
  std::unordered_set<KORFeature*> seen;
  for (std::size_t i = 0; i < count; ++i) {
    const KORStoreStep& step = at(i);
    const KORStepKind kind = step.KindWhen(iForward);
    Perform(step, iForward);
    Tell(kind, step.feature.get(), step.attribute);
    if (ChangesValues(kind) && !bornOrDying.count(step.feature.get()) &&
        seen.insert(step.feature.get()).second)
      changed.push_back(step.feature.get());
  }

  for (KORFeature* feature : born) {
    KORCreate created(feature->Identity(),
                      feature->Father() ? feature->Father()->Identity() : nullptr);
    KORAnnounce(created, feature->Identity());
  }
  for (KORFeature* feature : changed)
    if (!feature->IsDead()) {
      KORModify modified(feature->Identity());
      KORAnnounce(modified, feature->Identity());
    }
  _replaying = false;
}

void KORFeatureStore::DropHistory() {
  if (_undo.empty() && _redo.empty() && !_mayHoldDead)
    return;
  _undo.clear();
  _redo.clear();
  Purge();
}

void KORFeatureStore::Purge() {
  std::unordered_set<const KORFeature*> revivable;
  auto hold = [&](const Steps& iSteps) {
    for (const KORStoreStep& step : iSteps)
      if (step.kind == KORStepKind::Create || step.kind == KORStepKind::Remove)
        revivable.insert(step.feature.get());
  };
  for (const Steps& steps : _undo)
    hold(steps);
  for (const Steps& steps : _redo)
    hold(steps);
  hold(_open);
  for (const auto& container : _document.GetCompoundContainer()->Containers())
    container->DiscardDead(revivable);
  _mayHoldDead = !revivable.empty();
}

int KORFeatureStore::AddListener(KORStoreListener iListener) {
  _listeners.emplace_back(_nextListenerId, std::move(iListener));
  return _nextListenerId++;
}

void KORFeatureStore::RemoveListener(int iListenerId) {
  std::erase_if(_listeners, [&](const auto& iEntry) { return iEntry.first == iListenerId; });
}

void KORFeatureStore::Clear() {
  // The document closes: nobody will read the texts not made.
  for (KORFeature* feature : _deferredTexts)
    feature->_pendingText = nullptr;
  _deferredTexts.clear();
  _open.clear();
  _lastWrites.clear();
  _savepoints.clear();
  _undo.clear();
  _redo.clear();
  _orphans.clear();
  _listeners.clear();
  _mayHoldDead = false;
}
