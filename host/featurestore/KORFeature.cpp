#include "featurestore/KORFeature.h"

#include "featurestore/KORContainer.h"
#include "featurestore/KORDocument.h"
#include "featurestore/KORFeatureStore.h"

#include <algorithm>
#include <utility>

KORFeature::KORFeature(KORFeatureContainer& iContainer, const KORFeatureType& iType,
                       KORUnicodeString iName, const KORUuid& iUuid, std::uint64_t iSequence)
    : KORImplementationOf(iType.name), _container(&iContainer), _type(&iType),
      _name(std::move(iName)), _uuid(iUuid), _sequence(iSequence) {
  _values.resize(_type->attributes.size());
  for (std::size_t i = 0; i < _values.size(); ++i)
    if (const auto& value = _type->attributes[i].defaultValue)
      std::visit([&](const auto& v) { _values[i] = v; }, *value);
}

KORFeature::~KORFeature() {
  ForgetLinks();
}

void KORFeature::Refer(KORFeature* iTarget, std::size_t iAttribute) {
  if (iTarget)
    iTarget->_referrers.push_back({this, iAttribute});
}

void KORFeature::Unrefer(KORFeature* iTarget, std::size_t iAttribute) {
  if (!iTarget)
    return;
  auto& referrers = iTarget->_referrers;
  auto found = std::find_if(referrers.begin(), referrers.end(), [&](const Referrer& r) {
    return r.feature == this && r.attribute == iAttribute;
  });
  if (found != referrers.end())
    referrers.erase(found);
}

void KORFeature::UnreferAll(std::size_t iAttribute) {
  if (const Links* links = std::get_if<Links>(&_values[iAttribute]))
    for (const auto& target : *links)
      Unrefer(target.get(), iAttribute);
}

void KORFeature::ForgetLinks() {
  for (std::size_t i = 0; i < _values.size(); ++i)
    UnreferAll(i);
  // Whoever still refers to this feature keeps a link that no longer resolves.
  _referrers.clear();
}

HRESULT KORFeature::ListReferrers(const char* iKey, const KORIID& iIID,
                                  KORListValKORBaseUnknown_var** oList) {
  if (!oList || !iKey)
    return E_FAIL;
  std::vector<KORFeature*> referrers;
  for (const Referrer& referrer : _referrers)
    if (!referrer.feature->IsDead() &&
        referrer.feature->_type->attributes[referrer.attribute].key == iKey)
      referrers.push_back(referrer.feature);
  std::sort(referrers.begin(), referrers.end(),
            [](const KORFeature* a, const KORFeature* b) { return a->_sequence < b->_sequence; });
  referrers.erase(std::unique(referrers.begin(), referrers.end()), referrers.end());
  auto* list = new KORListValKORBaseUnknown_var();
  for (KORFeature* referrer : referrers) {
    void* answered = nullptr;
    if (SUCCEEDED(referrer->QueryInterface(iIID, &answered)) && answered)
      list->Append(KORBaseUnknown_var::Adopt(static_cast<KORBaseUnknown*>(answered)));
  }
  *oList = list;
  return S_OK;
}

KORFeature* KORFeature::From(KORBaseUnknown* iObject) {
  auto* feature = KORGetImplementationAs<KORFeature>(iObject);
  return feature && !feature->IsDead() ? feature : nullptr;
}

HRESULT KORFeature::GetFeatureName(KORUnicodeString& oName) {
  oName = _name;
  return S_OK;
}

HRESULT KORFeature::GetFather(KORISpecObject** oFather) {
  if (!oFather)
    return E_FAIL;
  *oFather = _father;
  if (!_father)
    return E_FAIL;
  _father->AddRef();
  return S_OK;
}

HRESULT KORFeature::GetRootFather(KORISpecObject** oRoot) {
  if (!oRoot)
    return E_FAIL;
  *oRoot = nullptr;
  if (!_father)
    return E_FAIL;
  KORFeature* root = _father;
  while (root->_father)
    root = root->_father;
  *oRoot = root;
  root->AddRef();
  return S_OK;
}

std::vector<KORFeature*> KORFeature::Children() const {
  std::vector<KORFeature*> children;
  for (std::size_t i = 0; i < _values.size(); ++i) {
    if (!_type->attributes[i].aggregating)
      continue;
    if (const Links* links = std::get_if<Links>(&_values[i]))
      for (const auto& child : *links)
        if (child && !child->IsDead())
          children.push_back(child.get());
  }
  return children;
}

HRESULT KORFeature::ListChildren(KORListValKORBaseUnknown_var** oChildren) {
  if (!oChildren)
    return E_FAIL;
  auto* list = new KORListValKORBaseUnknown_var();
  for (KORFeature* child : Children())
    list->Append(KORBaseUnknown_var(static_cast<KORISpecObject*>(child)));
  *oChildren = list;
  return S_OK;
}

HRESULT KORFeature::GetContainer(KORIContainer** oContainer) {
  if (!oContainer)
    return E_FAIL;
  *oContainer = IsDead() ? nullptr : _container;
  if (!*oContainer)
    return E_FAIL;
  (*oContainer)->AddRef();
  return S_OK;
}

bool KORFeature::IsValued(const char* iKey) {
  int index = _type->Find(iKey);
  return !IsDead() && index >= 0 && !std::holds_alternative<std::monostate>(_values[index]);
}

template <class T>
HRESULT KORFeature::GetPlain(const char* iKey, KORAttributeType iType, T& oValue) {
  int index = _type->Find(iKey);
  if (_pendingText && static_cast<std::size_t>(index) == _pendingIndex)
    SettleText();
  if (IsDead() || index < 0 || _type->attributes[index].type != iType)
    return E_FAIL;
  const T* value = std::get_if<T>(&_values[index]);
  if (!value)
    return E_FAIL;
  oValue = *value;
  return S_OK;
}

int KORFeature::WritableIndex(const char* iKey, KORAttributeType iType) const {
  return WritableIndex(_type->Find(iKey), iType);
}

int KORFeature::WritableIndex(int iIndex, KORAttributeType iType) const {
  const bool fits = iIndex >= 0 && static_cast<std::size_t>(iIndex) < _values.size() &&
                    _type->attributes[static_cast<std::size_t>(iIndex)].type == iType;
  return IsDead() || !fits ? -1 : iIndex;
}

HRESULT KORFeature::SetPlain(const char* iKey, KORAttributeType iType, Value iValue) {
  const int index = WritableIndex(iKey, iType);
  return index < 0 ? E_FAIL : StoreValue(static_cast<std::size_t>(index), std::move(iValue));
}

HRESULT KORFeature::GetInteger(const char* iKey, int& oValue) {
  return GetPlain(iKey, KORAttributeType::Integer, oValue);
}
HRESULT KORFeature::SetInteger(const char* iKey, int iValue) {
  return SetPlain(iKey, KORAttributeType::Integer, iValue);
}
HRESULT KORFeature::GetDouble(const char* iKey, double& oValue) {
  return GetPlain(iKey, KORAttributeType::Double, oValue);
}
HRESULT KORFeature::SetDouble(const char* iKey, double iValue) {
  return SetPlain(iKey, KORAttributeType::Double, iValue);
}
HRESULT KORFeature::GetString(const char* iKey, KORUnicodeString& oValue) {
  return GetPlain(iKey, KORAttributeType::String, oValue);
}
HRESULT KORFeature::SetString(const char* iKey, const KORUnicodeString& iValue) {
  return SetStringAt(_type->Find(iKey), iValue);
}
HRESULT KORFeature::SetStringAt(int iIndex, const KORUnicodeString& iValue) {
  const int index = WritableIndex(iIndex, KORAttributeType::String);
  if (index < 0)
    return E_FAIL;
  if (Store().RewriteText(*this, static_cast<std::size_t>(index), iValue))
    return S_OK;
  return StoreValue(static_cast<std::size_t>(index), iValue);
}
HRESULT KORFeature::RenewStringAt(int iIndex, KORTextMaker iMake) {
  const int index = WritableIndex(iIndex, KORAttributeType::String);
  if (index < 0 || !iMake)
    return E_FAIL;
  const auto at = static_cast<std::size_t>(index);
  // Renewed again before anything read the text the last renewal left to
  // make: that text, made later, is as new as this renewal needs.
  if (_pendingText && _pendingIndex == at) {
    _pendingText = iMake;
    Store().TellRenewed(*this, at);
    return S_OK;
  }
  SettleText();
  if (Store().DeferText(*this, at, iMake))
    return S_OK;
  KORUnicodeString text;
  iMake(text);
  return SetStringAt(iIndex, text);
}

const std::vector<KORFeature::Value>& KORFeature::Values() const {
  // The text is part of the value already, only not written out: a feature
  // read as const is still a feature of its store, which may write it.
  if (_pendingText)
    const_cast<KORFeature*>(this)->SettleText();
  return _values;
}

void KORFeature::SettleText() {
  if (const KORTextMaker make = std::exchange(_pendingText, nullptr))
    Store().MakeText(*this, _pendingIndex, make);
}

HRESULT KORFeature::GetIntegers(const char* iKey, KORRawCollint& oValues) {
  std::vector<int> values;
  HRESULT result = GetPlain(iKey, KORAttributeType::Integers, values);
  if (SUCCEEDED(result))
    oValues.Values() = std::move(values);
  return result;
}
HRESULT KORFeature::SetIntegers(const char* iKey, const KORRawCollint& iValues) {
  return SetPlain(iKey, KORAttributeType::Integers, iValues.Values());
}
HRESULT KORFeature::GetDoubles(const char* iKey, std::vector<double>& oValues) {
  return GetPlain(iKey, KORAttributeType::Doubles, oValues);
}
HRESULT KORFeature::SetDoubles(const char* iKey, const std::vector<double>& iValues) {
  return SetPlain(iKey, KORAttributeType::Doubles, iValues);
}

KORFeatureStore& KORFeature::Store() const {
  return _container->GetDocument()->Store();
}

HRESULT KORFeature::StoreValue(std::size_t iIndex, Value iValue) {
  KORFeatureStore::Operation operation(Store());
  if (!operation || IsDead())
    return E_FAIL;
  KORStoreStep step(KORStepKind::SetValue, this, iIndex);
  step.newValue = std::move(iValue);
  Store().Write(std::move(step));
  return S_OK;
}

HRESULT KORFeature::LoadValue(std::size_t iIndex, Value iValue) {
  // Replaced links could leave children without father, which the write
  // path has to remove.
  if (IsDead() || !Store().IsQuiet() || std::holds_alternative<Links>(_values[iIndex]))
    return StoreValue(iIndex, std::move(iValue));
  PutValue(iIndex, std::move(iValue));
  return S_OK;
}

const KORFeature::Links* KORFeature::LinksOf(const char* iKey, const KORAttributeDef** oDef,
                                             std::size_t* oIndex) const {
  static const Links noLinks;
  int index = _type->Find(iKey);
  if (IsDead() || index < 0 || !KORIsLinkType(_type->attributes[index].type))
    return nullptr;
  if (oDef)
    *oDef = &_type->attributes[index];
  if (oIndex)
    *oIndex = static_cast<std::size_t>(index);
  const Links* links = std::get_if<Links>(&_values[index]);
  return links ? links : &noLinks;
}

bool KORFeature::CanAggregate(KORFeature& iChild) const {
  if (iChild._father && iChild._father != this)
    return false;
  for (const KORFeature* ancestor = this; ancestor; ancestor = ancestor->_father)
    if (ancestor == &iChild)
      return false;
  return true;
}

void KORFeature::ReleaseChild(KORFeature* iChild) {
  // Still aggregated through another entry of this feature: keep the father.
  if (!iChild || iChild->_father != this)
    return;
  for (KORFeature* child : Children())
    if (child == iChild)
      return;
  iChild->_father = nullptr;
}

KORFeature::Value KORFeature::PutValue(std::size_t iIndex, Value iValue) {
  UnreferAll(iIndex);
  Value previous = std::exchange(_values[iIndex], std::move(iValue));
  const bool aggregating = _type->attributes[iIndex].aggregating;
  if (const Links* links = std::get_if<Links>(&_values[iIndex]))
    for (const auto& target : *links) {
      Refer(target.get(), iIndex);
      if (aggregating && target)
        target->_father = this;
    }
  if (aggregating)
    if (const Links* links = std::get_if<Links>(&previous))
      for (const auto& child : *links)
        ReleaseChild(child.get());
  return previous;
}

void KORFeature::InsertEntry(std::size_t iIndex, std::size_t iPosition,
                             const KORSmartPtr<KORFeature>& iEntry) {
  Links& links = std::get<Links>(_values[iIndex]);
  links.insert(links.begin() + static_cast<std::ptrdiff_t>(iPosition), iEntry);
  Refer(iEntry.get(), iIndex);
  if (iEntry && _type->attributes[iIndex].aggregating)
    iEntry->_father = this;
}

void KORFeature::EraseEntry(std::size_t iIndex, std::size_t iPosition) {
  Links& links = std::get<Links>(_values[iIndex]);
  KORSmartPtr<KORFeature> entry = std::move(links[iPosition]);
  links.erase(links.begin() + static_cast<std::ptrdiff_t>(iPosition));
  Unrefer(entry.get(), iIndex);
  if (_type->attributes[iIndex].aggregating)
    ReleaseChild(entry.get());
}

void KORFeature::ReplaceEntry(std::size_t iIndex, std::size_t iPosition,
                              const KORSmartPtr<KORFeature>& iEntry) {
  Links& links = std::get<Links>(_values[iIndex]);
  KORSmartPtr<KORFeature> previous = std::exchange(links[iPosition], iEntry);
  Unrefer(previous.get(), iIndex);
  Refer(iEntry.get(), iIndex);
  if (!_type->attributes[iIndex].aggregating)
    return;
  if (iEntry)
    iEntry->_father = this;
  if (previous != iEntry)
    ReleaseChild(previous.get());
}

void KORFeature::WriteEntry(KORStepKind iKind, std::size_t iIndex, std::size_t iPosition,
                            KORFeature* iNewEntry) {
  KORStoreStep step(iKind, this, iIndex, iPosition);
  if (iKind != KORStepKind::InsertEntry)
    step.oldEntry = std::get<Links>(_values[iIndex])[iPosition];
  if (iKind != KORStepKind::EraseEntry)
    step.newEntry = KORSmartPtr<KORFeature>(iNewEntry);
  Store().Write(std::move(step));
}

HRESULT KORFeature::GetLink(const char* iKey, KORISpecObject** oFeature) {
  if (!oFeature)
    return E_FAIL;
  *oFeature = nullptr;
  const KORAttributeDef* def = nullptr;
  const Links* links = LinksOf(iKey, &def);
  if (!links || def->type != KORAttributeType::Link || links->empty() || !links->front() ||
      links->front()->IsDead())
    return E_FAIL;
  *oFeature = links->front().get();
  (*oFeature)->AddRef();
  return S_OK;
}

HRESULT KORFeature::SetLink(const char* iKey, KORISpecObject* iFeature) {
  const KORAttributeDef* def = nullptr;
  std::size_t index = 0;
  const Links* links = LinksOf(iKey, &def, &index);
  if (!links || def->type != KORAttributeType::Link)
    return E_FAIL;
  KORFeature* feature = From(iFeature);
  if (iFeature && !feature)
    return E_FAIL;
  if (feature && def->aggregating && !CanAggregate(*feature))
    return E_FAIL;
  Links value;
  if (feature)
    value.emplace_back(feature);
  return StoreValue(index, std::move(value));
}

HRESULT KORFeature::AppendLink(const char* iKey, KORISpecObject* iFeature) {
  const KORAttributeDef* def = nullptr;
  std::size_t index = 0;
  const Links* links = LinksOf(iKey, &def, &index);
  KORFeature* feature = From(iFeature);
  if (!links || def->type != KORAttributeType::Links || !feature)
    return E_FAIL;
  if (def->aggregating && !CanAggregate(*feature))
    return E_FAIL;
  KORFeatureStore::Operation operation(Store());
  if (!operation)
    return E_FAIL;
  // An attribute without value first gets an empty list of its own, so that
  // taking the entry back leaves it without value again.
  if (std::holds_alternative<std::monostate>(_values[index]) && FAILED(StoreValue(index, Links())))
    return E_FAIL;
  WriteEntry(KORStepKind::InsertEntry, index, std::get<Links>(_values[index]).size(), feature);
  return S_OK;
}

HRESULT KORFeature::GetLinkCount(const char* iKey, int& oCount) {
  const Links* links = LinksOf(iKey);
  if (!links)
    return E_FAIL;
  oCount = static_cast<int>(links->size());
  return S_OK;
}

HRESULT KORFeature::GetLinkAt(const char* iKey, int iPosition, KORISpecObject** oFeature) {
  if (!oFeature)
    return E_FAIL;
  *oFeature = nullptr;
  const Links* links = LinksOf(iKey);
  if (!links || iPosition < 1 || iPosition > static_cast<int>(links->size()))
    return E_FAIL;
  const auto& entry = (*links)[static_cast<std::size_t>(iPosition - 1)];
  if (!entry || entry->IsDead())
    return E_FAIL;
  *oFeature = entry.get();
  (*oFeature)->AddRef();
  return S_OK;
}

HRESULT KORFeature::LocateLink(const char* iKey, KORISpecObject* iFeature, int& oPosition) {
  oPosition = 0;
  const Links* links = LinksOf(iKey);
  if (!links)
    return E_FAIL;
  KORFeature* feature = From(iFeature);
  for (std::size_t i = 0; feature && i < links->size(); ++i)
    if ((*links)[i].get() == feature) {
      oPosition = static_cast<int>(i) + 1;
      break;
    }
  return S_OK;
}

HRESULT KORFeature::EmptyPosition(const char* iKey, int iPosition) {
  std::size_t index = 0;
  const Links* links = LinksOf(iKey, nullptr, &index);
  if (!links || iPosition < 1 || iPosition > static_cast<int>(links->size()))
    return E_FAIL;
  KORFeatureStore::Operation operation(Store());
  if (!operation)
    return E_FAIL;
  WriteEntry(KORStepKind::ReplaceEntry, index, static_cast<std::size_t>(iPosition - 1), nullptr);
  return S_OK;
}

HRESULT KORFeature::RemoveLink(const char* iKey, KORISpecObject* iFeature) {
  std::size_t index = 0;
  const Links* links = LinksOf(iKey, nullptr, &index);
  KORImplementation* target = KORGetImplementation(iFeature);
  if (!links || !target)
    return E_FAIL;
  KORFeatureStore::Operation operation(Store());
  if (!operation)
    return E_FAIL;
  // From the back, so that the positions still to visit stay where they are;
  // the list is read again each time, as a listener may have changed it.
  for (std::size_t i = links->size(); i-- > 0;) {
    const Links* current = LinksOf(iKey);
    if (current && i < current->size() && (*current)[i].get() == target)
      WriteEntry(KORStepKind::EraseEntry, index, i, nullptr);
  }
  return S_OK;
}

HRESULT KORFeature::ListLinks(const char* iKey, const KORIID& iIID,
                              KORListValKORBaseUnknown_var** oList) {
  if (!oList)
    return E_FAIL;
  *oList = nullptr;
  const Links* links = LinksOf(iKey);
  if (!links)
    return E_FAIL;
  auto* list = new KORListValKORBaseUnknown_var();
  for (const auto& entry : *links) {
    if (!entry || entry->IsDead())
      continue;
    void* answered = nullptr;
    if (SUCCEEDED(entry->QueryInterface(iIID, &answered)) && answered)
      list->Append(KORBaseUnknown_var::Adopt(static_cast<KORBaseUnknown*>(answered)));
  }
  *oList = list;
  return S_OK;
}

int KORFeature::AddDeathCallback(DeathCallback iCallback) {
  _deathCallbacks.push_back({_nextCallbackId, std::move(iCallback)});
  return _nextCallbackId++;
}

HRESULT KORFeature::RemoveDeathCallback(int iCallbackId) {
  auto count = std::erase_if(_deathCallbacks, [&](const Death& d) { return d.id == iCallbackId; });
  return count ? S_OK : E_FAIL;
}

void KORFeature::AnnounceDeath() {
  std::vector<int> ids;
  for (const Death& death : _deathCallbacks)
    ids.push_back(death.id);
  for (int id : ids) {
    auto found = std::find_if(_deathCallbacks.begin(), _deathCallbacks.end(),
                              [&](const Death& d) { return d.id == id; });
    if (found == _deathCallbacks.end())
      continue;
    DeathCallback callback = found->callback; // the callback may remove its entry
    callback(Identity());
  }
  _deathCallbacks.clear();
}

HRESULT KORFeature::Redraw() {
  if (KORDocument* document = GetDocument()) {
    document->NotifyRedraw(Identity());
    return S_OK;
  }
  return E_FAIL;
}

HRESULT KORFeature::GetUuid(KORUuid& oUuid) {
  oUuid = _uuid;
  return S_OK;
}

KORDocument* KORFeature::GetDocument() {
  return IsDead() ? nullptr : _container->GetDocument();
}

void KORFeature::Dispose() {
  MarkDead();
  _pendingText = nullptr;
  _father = nullptr;
  ForgetLinks();
  // Move the values out before they die: releasing a linked feature may run
  // code that reads this one.
  std::vector<Value> values = std::move(_values);
  _values.assign(_type->attributes.size(), std::monostate());
  Dispatcher().Clear();
  _deathCallbacks.clear();
  DisposeExtensions();
}
