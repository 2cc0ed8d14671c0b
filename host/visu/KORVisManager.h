#pragma once
// The visualization manager: builds the representation of an element through
// its KORI3DGeoVisu or KORI2DGeoVisu extension, caches it, and rebuilds
// exactly what a model event invalidates.
//
// The manager listens to the model events that reach a document's root
// container and to those of each element it keeps a rep of. A change of an element marks its rep
// out of date, and with it the reps that gathered it (recorded while they were built: a group's rep
// gathers its children's) or read it (a tracker drawn beside its station);
// a creation does so for the father; a deletion
// drops the element's rep. Nothing is rebuilt until a rep is asked for, and
// then only what is out of date: the reps still up to date are reused as
// they are.
//
// A plain object: whoever shows a document owns one (the application frame,
// a command-line run, a test) and destroys it before the document.
#include "system/KORCurrentScope.h"
#include "visu/KORIGeoVisu.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class KORDocument;
class KORGraphicSupport;
class KORIModelEvents;
class KORNotification;

class KORVisManager {
public:
  KORVisManager();
  ~KORVisManager();
  KORVisManager(const KORVisManager&) = delete;
  KORVisManager& operator=(const KORVisManager&) = delete;

  // The manager of the running frame, or null outside any Scope.
  static KORVisManager* GetVisManager();
  // Makes a manager current for its lifetime, restoring the previous one.
  class Scope : public KORCurrentScope<KORVisManager> {
  public:
    explicit Scope(KORVisManager& iManager);
  };

  // Follows the model events of iDocument (and stops following the previous
  // document's). Fails when the document has no root container with events.
  [[nodiscard]] HRESULT Attach(KORDocument* iDocument);
  void Detach();

  // iElement's rep, rebuilt when out of date; null when it draws nothing.
  KORRep_var GetRep(KORBaseUnknown* iElement, KORVisDimension iDimension);
  // Marks iElement's reps, and those that gather them, out of date.
  void Invalidate(KORBaseUnknown* iElement);

  // How many times iElement's rep of iDimension was built.
  int GetBuildCount(KORBaseUnknown* iElement, KORVisDimension iDimension) const;
  // Model and picture files that could not be read, with the reason.
  const std::vector<std::string>& GetReadProblems() const { return _readProblems; }

  // What shows iPath selected: the highlight of the path's topmost object
  // that has a visualization extension, handed down as its extension says.
  [[nodiscard]] HRESULT BuildHighlight(KORVisDimension iDimension, const KORPathElement& iPath,
                                       KORHighlightPath& oHighlight);
  // The element under iPoint in iRoot's rep: the one with the smallest
  // bounding sphere holding the point (2D points have z = 0). oPath is
  // iPrefix followed by the elements from iRoot down to it. Fails (oPath
  // empty) when no element holds the point.
  [[nodiscard]] HRESULT Pick(KORBaseUnknown* iRoot, KORVisDimension iDimension,
                             const Eigen::Vector3d& iPoint, const KORPathElement& iPrefix,
                             KORPathElement& oPath);

private:
  struct Entry;
  class Builder;
  using Key = const KORBaseUnknown*;
  using Cache = std::unordered_map<Key, Entry>;

  Cache& CacheOf(KORVisDimension iDimension) { return _caches[static_cast<int>(iDimension)]; }
  Entry& EntryOf(Cache& ioCache, KORBaseUnknown* iIdentity);
  KORRep_var Get(KORBaseUnknown* iIdentity, KORVisDimension iDimension, Key iUser);
  void Invalidate(Cache& ioCache, Key iKey);
  void Forget(KORBaseUnknown* iElement);
  void Listen(Entry& ioEntry);
  void StopListening(Entry& ioEntry);
  void OnEvent(const KORNotification& iEvent);

  Cache _caches[2];
  // One model event passes the dispatchers of several objects the manager
  // listens to, and a head's move makes every view change: the same element
  // is invalidated again and again with nothing built in between, which
  // changes nothing. The last few elements invalidated are kept with the
  // count of cache changes (builds, forgets) at that moment.
  static constexpr std::size_t kRecentInvalidations = 4;
  std::array<Key, kRecentInvalidations> _recentlyInvalidated{};
  std::size_t _nextRecent = 0;
  std::uint64_t _cacheChanges = 0;
  std::uint64_t _cacheChangesAtRecent = 0;
  std::unordered_map<std::string, std::shared_ptr<const KORMesh>> _models;
  std::unordered_map<std::string, std::shared_ptr<const KORImage>> _images;
  std::vector<std::string> _readProblems;
  KORSmartPtr<KORIModelEvents> _rootEvents;
  int _listener = 0;
};

// A 3D viewer or a 2D viewpoint's view: shows one root element's rep of its
// dimension through a manager, draws into its graphic support
// (KORFrmWindow.h) and turns picks into paths.
class KORViewer {
public:
  // iPrefix: the objects above iRoot that a pick's path starts with (the
  // document's first root and containers).
  KORViewer(KORVisManager& iManager, KORBaseUnknown* iRoot, KORVisDimension iDimension,
            KORPathElement iPrefix = {});
  virtual ~KORViewer();
  KORViewer(const KORViewer&) = delete;
  KORViewer& operator=(const KORViewer&) = delete;
  KORRep_var GetScene() { return _manager.GetRep(_root, _dimension); }
  [[nodiscard]] HRESULT Pick(const Eigen::Vector3d& iPoint, KORPathElement& oPath) {
    return _manager.Pick(_root, _dimension, iPoint, _prefix, oPath);
  }
  KORVisDimension GetDimension() const { return _dimension; }
  KORGraphicSupport& GetSupport() { return *_support; }

private:
  KORVisManager& _manager;
  std::unique_ptr<KORGraphicSupport> _support;
  KORBaseUnknown_var _root;
  KORVisDimension _dimension;
  KORPathElement _prefix;
};
