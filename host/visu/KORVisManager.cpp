#include "visu/KORVisManager.h"

#include "featurestore/KORDocument.h"
#include "featurestore/KORIModelEvents.h"
#include "featurestore/KORISpecObject.h"
#include "featurestore/KORNotificationDispatcher.h"
#include "system/KORResource.h"
#include "system/KORThreadLocal.h"
#include "tree/KORObjectName.h"
#include "visu/KORFrmWindow.h"
#include "visu/KORModelReader.h"

#include <algorithm>
#include <limits>

HRESULT KORDefaultHighlight(KORVisBuildContext& iContext, const KORPathElement& iPath,
                            int iPosition, KORHighlightPath& ioHighlight) {
  if (iPosition + 1 < iPath.GetSize())
    return iContext.HighlightAt(iPath, iPosition + 1, ioHighlight);
  ioHighlight.Add(iContext.GetCurrentRep(iPath.GetObject(iPosition)));
  return S_OK;
}

struct KORVisManager::Entry {
  KORBaseUnknown_var element;
  KORIModelEvents_var events; // the element's own, listened to
  int listener = 0;
  KORRep_var rep;
  bool upToDate = false;
  int builds = 0;
  std::vector<Key> users;    // the reps that gathered this one
  std::vector<Key> children; // the reps this one gathered
  std::vector<Key> watchers; // the reps that read this element
};

namespace {
const KORIID& VisuInterface(KORVisDimension iDimension) {
  return iDimension == KORVisDimension::ThreeD ? KORI3DGeoVisu::IID : KORI2DGeoVisu::IID;
}

KORSmartPtr<KORIGeoVisu> VisuOf(KORBaseUnknown* iElement, KORVisDimension iDimension) {
  void* visu = nullptr;
  if (!iElement || FAILED(iElement->QueryInterface(VisuInterface(iDimension), &visu)) || !visu)
    return {};
  KORIGeoVisu* base = nullptr;
  if (iDimension == KORVisDimension::ThreeD)
    base = static_cast<KORI3DGeoVisu*>(visu);
  else
    base = static_cast<KORI2DGeoVisu*>(visu);
  return KORSmartPtr<KORIGeoVisu>::Adopt(base);
}

template <class T>
std::shared_ptr<const T>
ReadResource(const char* iFileName,
             std::unordered_map<std::string, std::shared_ptr<const T>>& ioCache,
             std::vector<std::string>& ioProblems,
             HRESULT (*iRead)(const std::string&, std::shared_ptr<const T>&, std::string&)) {
  auto found = ioCache.find(iFileName);
  if (found != ioCache.end())
    return found->second;
  std::shared_ptr<const T> value;
  KORUnicodeString path;
  std::string error;
  if (FAILED(KORGetImagePathName(iFileName, path)))
    ioProblems.push_back(std::string(iFileName) + ": not found in the resource folders");
  else if (FAILED(iRead(path, value, error)))
    ioProblems.push_back(error);
  ioCache.emplace(iFileName, value);
  return value;
}
} // namespace

// The context of one request: builds and highlights of one dimension, with
// the entry being built as the user of what it asks for.
class KORVisManager::Builder final : public KORVisBuildContext {
public:
  Builder(KORVisManager& iManager, KORVisDimension iDimension, Key iUser)
      : _manager(iManager), _dimension(iDimension), _user(iUser) {}

  KORRep_var BuildChildRep(KORBaseUnknown* iElement) override {
    auto identity = KORQuery<KORBaseUnknown>(iElement);
    if (_user && identity)
      _children.push_back(identity.get());
    return _manager.Get(identity.get(), _dimension, _user);
  }
  // What the rep built gathered.
  std::vector<Key> TakeChildren() { return std::move(_children); }
  void DependsOn(KORBaseUnknown* iElement) override {
    auto identity = KORQuery<KORBaseUnknown>(iElement);
    if (!identity || !_user)
      return;
    Entry& watched = _manager.EntryOf(_manager.CacheOf(_dimension), identity.get());
    if (std::find(watched.watchers.begin(), watched.watchers.end(), _user) == watched.watchers.end())
      watched.watchers.push_back(_user);
  }
  KORRep* GetCurrentRep(KORBaseUnknown* iElement) override {
    auto& cache = _manager.CacheOf(_dimension);
    auto found = cache.find(KORQuery<KORBaseUnknown>(iElement).get());
    return found == cache.end() ? nullptr : found->second.rep.get();
  }
  std::shared_ptr<const KORMesh> ReadModel(const char* iFileName) override {
    return ReadResource<KORMesh>(iFileName, _manager._models, _manager._readProblems, &KORReadCgr);
  }
  std::shared_ptr<const KORImage> ReadImage(const char* iFileName) override {
    return ReadResource<KORImage>(iFileName, _manager._images, _manager._readProblems,
                                  &KORReadImage);
  }
  HRESULT HighlightAt(const KORPathElement& iPath, int iPosition,
                      KORHighlightPath& ioHighlight) override {
    if (iPosition < 0 || iPosition >= iPath.GetSize())
      return E_INVALIDARG;
    KORBaseUnknown* object = iPath.GetObject(iPosition);
    auto visu = VisuOf(object, _dimension);
    if (!visu)
      return KORDefaultHighlight(*this, iPath, iPosition, ioHighlight);
    // The highlight shows the rep as it is now; an element that draws
    // nothing shows nothing.
    if (!_manager.GetRep(object, _dimension))
      return S_FALSE;
    return visu->BuildHighlightLook(*this, iPath, iPosition, ioHighlight);
  }

private:
  KORVisManager& _manager;
  KORVisDimension _dimension;
  Key _user;
  std::vector<Key> _children;
};

namespace {
KOR_THREAD_LOCAL KORVisManager* tCurrentManager = nullptr;
} // namespace

KORVisManager* KORVisManager::GetVisManager() {
  return tCurrentManager;
}

KORVisManager::Scope::Scope(KORVisManager& iManager) : KORCurrentScope(tCurrentManager, iManager) {}

KORVisManager::KORVisManager() = default;

KORVisManager::~KORVisManager() {
  Detach();
}

HRESULT KORVisManager::Attach(KORDocument* iDocument) {
  Detach();
  KORBaseUnknown_var root;
  if (!iDocument || FAILED(iDocument->GetRootContainer(root.Out())))
    return E_FAIL;
  auto events = KORQuery<KORIModelEvents>(root);
  if (!events || !events->GetDispatcher())
    return E_FAIL;
  _rootEvents = events;
  _listener = events->GetDispatcher()->AddListener(
      [this](const KORNotification& iEvent) { OnEvent(iEvent); });
  return S_OK;
}

void KORVisManager::Detach() {
  if (_rootEvents)
    _rootEvents->GetDispatcher()->RemoveListener(_listener);
  _rootEvents.reset();
  ++_cacheChanges;
  for (Cache& cache : _caches) {
    for (auto& [key, entry] : cache)
      StopListening(entry);
    cache.clear();
  }
}

// Not every element's events climb to the root container (some elements
// hang on no father until the document is loaded again): the manager also
// listens to each element it keeps a rep of.
void KORVisManager::Listen(Entry& ioEntry) {
  ioEntry.events = KORQuery<KORIModelEvents>(ioEntry.element.get());
  if (ioEntry.events && ioEntry.events->GetDispatcher())
    ioEntry.listener = ioEntry.events->GetDispatcher()->AddListener(
        [this](const KORNotification& iEvent) { OnEvent(iEvent); });
}

void KORVisManager::StopListening(Entry& ioEntry) {
  if (ioEntry.events && ioEntry.events->GetDispatcher())
    ioEntry.events->GetDispatcher()->RemoveListener(ioEntry.listener);
  ioEntry.events.reset();
}

void KORVisManager::OnEvent(const KORNotification& iNotification) {
  const KORModelNotification* event = KORModelNotification::From(iNotification);
  if (!event)
    return;
  switch (event->Kind()) {
  case KORNotificationKind::Modify:
    Invalidate(event->Object());
    break;
  case KORNotificationKind::Create:
    Invalidate(event->Father());
    Invalidate(event->Object());
    break;
  case KORNotificationKind::Delete:
    Forget(event->Object());
    break;
  }
}

void KORVisManager::Invalidate(KORBaseUnknown* iElement) {
  if (_cacheChangesAtRecent != _cacheChanges) {
    _recentlyInvalidated.fill(nullptr);
    _cacheChangesAtRecent = _cacheChanges;
  } else if (iElement && std::find(_recentlyInvalidated.begin(), _recentlyInvalidated.end(),
                                   iElement) != _recentlyInvalidated.end()) {
    return; // everything it reaches is out of date already
  }
  auto identity = KORQuery<KORBaseUnknown>(iElement);
  if (!identity)
    return;
  for (Cache& cache : _caches)
    Invalidate(cache, identity.get());
  _recentlyInvalidated[_nextRecent] = iElement;
  _nextRecent = (_nextRecent + 1) % kRecentInvalidations;
}

void KORVisManager::Invalidate(Cache& ioCache, Key iKey) {
  auto found = ioCache.find(iKey);
  if (found == ioCache.end())
    return;
  for (Key watcher : found->second.watchers)
    Invalidate(ioCache, watcher);
  // A rep out of date has its users out of date already: a user rebuilt
  // since would have rebuilt it first.
  if (!found->second.upToDate)
    return;
  found->second.upToDate = false;
  for (Key user : found->second.users)
    Invalidate(ioCache, user);
}

void KORVisManager::Forget(KORBaseUnknown* iElement) {
  Invalidate(iElement);
  ++_cacheChanges;
  // The deleted element's aggregated children went with it, some without an
  // event of their own: every rep of a deleted feature goes.
  auto identity = KORQuery<KORBaseUnknown>(iElement);
  for (Cache& cache : _caches)
    for (auto entry = cache.begin(); entry != cache.end();) {
      auto feature = KORQuery<KORISpecObject>(entry->second.element.get());
      if (entry->first == identity.get() || (feature && feature->IsDeleted())) {
        StopListening(entry->second);
        entry = cache.erase(entry);
      } else {
        ++entry;
      }
    }
}

KORVisManager::Entry& KORVisManager::EntryOf(Cache& ioCache, KORBaseUnknown* iIdentity) {
  auto [found, added] = ioCache.try_emplace(iIdentity);
  if (added) {
    found->second.element = KORBaseUnknown_var(iIdentity);
    Listen(found->second);
  }
  return found->second;
}

KORRep_var KORVisManager::GetRep(KORBaseUnknown* iElement, KORVisDimension iDimension) {
  return Get(KORQuery<KORBaseUnknown>(iElement).get(), iDimension, nullptr);
}

KORRep_var KORVisManager::Get(KORBaseUnknown* iIdentity, KORVisDimension iDimension, Key iUser) {
  if (!iIdentity)
    return {};
  ++_cacheChanges; // what it builds, or the user it adds, may be invalidated again
  Cache& cache = CacheOf(iDimension);
  Entry* entry = &EntryOf(cache, iIdentity);
  if (iUser && std::find(entry->users.begin(), entry->users.end(), iUser) == entry->users.end())
    entry->users.push_back(iUser);
  if (entry->upToDate)
    return entry->rep;

  // What this rep gathered before may not be gathered any more.
  for (Key child : std::exchange(entry->children, {})) {
    auto gathered = cache.find(child);
    if (gathered != cache.end())
      std::erase(gathered->second.users, iIdentity);
  }
  KORRep_var rep;
  std::vector<Key> children;
  if (auto visu = VisuOf(iIdentity, iDimension)) {
    Builder builder(*this, iDimension, iIdentity);
    rep = KORRep_var::Adopt(visu->BuildRep(builder));
    children = builder.TakeChildren();
    ++cache[iIdentity].builds;
  }
  if (rep && rep->GetName().empty())
    rep->SetName(KORObjectName(iIdentity));
  // The builds above may have added entries: look this one up again.
  entry = &cache[iIdentity];
  entry->children = std::move(children);
  entry->rep = rep;
  entry->upToDate = true;
  // Counted again at the end: an invalidation heard during the build (a
  // listener run by it) saw the rep still out of date.
  ++_cacheChanges;
  return rep;
}

int KORVisManager::GetBuildCount(KORBaseUnknown* iElement, KORVisDimension iDimension) const {
  const Cache& cache = _caches[static_cast<int>(iDimension)];
  auto found = cache.find(KORQuery<KORBaseUnknown>(iElement).get());
  return found == cache.end() ? 0 : found->second.builds;
}

HRESULT KORVisManager::BuildHighlight(KORVisDimension iDimension, const KORPathElement& iPath,
                                      KORHighlightPath& oHighlight) {
  oHighlight = {};
  oHighlight.path = iPath;
  Builder builder(*this, iDimension, nullptr);
  for (int position = 0; position < iPath.GetSize(); ++position)
    if (VisuOf(iPath.GetObject(position), iDimension))
      return builder.HighlightAt(iPath, position, oHighlight);
  return S_FALSE;
}

namespace {
// Walks a rep tree with the placement down to each rep and finds the
// element rep with the smallest bounding sphere around a point.
class Picker final : public KORPlacingVisitor {
public:
  using Owners = std::unordered_map<const KORRep*, KORBaseUnknown*>;
  Picker(const Owners& iOwners, const Eigen::Vector3d& iPoint) : _owners(iOwners), _point(iPoint) {}

  void Walk(const KORRep& iRep) override {
    auto owner = _owners.find(&iRep);
    const bool isElement = owner != _owners.end();
    if (isElement) {
      _stack.push_back(owner->second);
      Consider(iRep);
    }
    iRep.Accept(*this);
    if (isElement)
      _stack.pop_back();
  }
  const std::vector<KORBaseUnknown*>& Best() const { return _best; }

private:
  // The sphere of an element's rep lies in the frame inside the rep's own
  // placement when the rep is a bag.
  void Consider(const KORRep& iRep) {
    const KORBoundingSphere& sphere = iRep.GetBoundingSphere();
    if (!sphere.IsSet())
      return;
    Eigen::Matrix4d frame = Placement();
    if (auto bag3 = dynamic_cast<const KOR3DBagRep*>(&iRep))
      frame = frame * bag3->GetMatrix();
    else if (auto bag2 = dynamic_cast<const KOR2DBagRep*>(&iRep))
      frame = frame * KORPlacementOf(*bag2);
    const Eigen::Vector3d centre = (frame * sphere.centre.homogeneous()).head<3>();
    const double scale = frame.block<3, 3>(0, 0).colwise().norm().maxCoeff();
    const double radius = sphere.radius * scale;
    if ((centre - _point).norm() <= radius && radius < _bestRadius) {
      _bestRadius = radius;
      _best = _stack;
    }
  }

  const Owners& _owners;
  Eigen::Vector3d _point;
  std::vector<KORBaseUnknown*> _stack, _best;
  double _bestRadius = std::numeric_limits<double>::infinity();
};
} // namespace

HRESULT KORVisManager::Pick(KORBaseUnknown* iRoot, KORVisDimension iDimension,
                            const Eigen::Vector3d& iPoint, const KORPathElement& iPrefix,
                            KORPathElement& oPath) {
  oPath = {};
  KORRep_var scene = GetRep(iRoot, iDimension);
  if (!scene)
    return E_FAIL;
  Picker::Owners owners;
  for (const auto& [key, entry] : CacheOf(iDimension))
    if (entry.rep)
      owners.emplace(entry.rep.get(), entry.element.get());
  Picker picker(owners, iPoint);
  picker.Walk(*scene);
  if (picker.Best().empty())
    return E_FAIL;
  oPath = iPrefix;
  for (KORBaseUnknown* element : picker.Best())
    oPath.Append(element);
  return S_OK;
}

KORViewer::KORViewer(KORVisManager& iManager, KORBaseUnknown* iRoot, KORVisDimension iDimension,
                     KORPathElement iPrefix)
    : _manager(iManager), _support(std::make_unique<KORGraphicSupport>()),
      _root(KORQuery<KORBaseUnknown>(iRoot)), _dimension(iDimension), _prefix(std::move(iPrefix)) {}

KORViewer::~KORViewer() = default;
