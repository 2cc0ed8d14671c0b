#pragma once
// A design document (late type "KORProduct"): it owns a root container that
// holds the feature containers. Releasing the last reference to a document
// closes it: every object in it leaves it, links and listeners are dropped,
// so that no reference cycle between features outlives the document.
#include "featurestore/KORContainer.h"
#include "featurestore/KORFeatureStore.h"
#include "featurestore/KORIDocRoots.h"
#include "featurestore/KORITransactions.h"

#include <functional>

class KORIDocument : public KORBaseUnknown {
  KOR_INTERFACE(KORIDocument, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT GetRootContainer(KORBaseUnknown** oRoot) = 0;
};

class KORDocument final
    : public KORImplementationOf<KORDocument, KORIDocument, KORITransactions, KORIDocRoots>,
      public KORModelObject {
public:
  static constexpr const char* LateTypeName = "KORProduct";
  static KORSmartPtr<KORDocument> Create();

  // The root container, as KORIContainer is not one of its interfaces: ask it
  // for KORICompoundContainer.
  HRESULT GetRootContainer(KORBaseUnknown** oRoot) override;
  KORRootContainer* GetCompoundContainer() { return _root.get(); }
  // KORIDocRoots: the document itself.
  KORListValKORBaseUnknown_var* GiveDocRoots() override {
    return new KORListValKORBaseUnknown_var{KORBaseUnknown_var(Identity())};
  }

  // KORITransactions
  HRESULT OpenTransaction() override { return _store.Open(); }
  HRESULT CommitTransaction() override { return _store.Commit(); }
  HRESULT AbortTransaction() override { return _store.Abort(); }
  HRESULT Undo() override { return _store.Undo(); }
  HRESULT Redo() override { return _store.Redo(); }
  HRESULT JoinLastTransactions(int iCount) override { return _store.JoinLast(iCount); }
  int GetTransactionDepth() override { return _store.Depth(); }
  int GetUndoCount() override { return _store.UndoCount(); }
  int GetRedoCount() override { return _store.RedoCount(); }

  // The write path of the document's features.
  KORFeatureStore& Store() { return _store; }

  // Store-change listeners: told every change of the document's features
  // (KORStoreChange.h). Returns an id for RemoveStoreListener.
  int AddStoreListener(KORStoreListener iListener) {
    return _store.AddListener(std::move(iListener));
  }
  void RemoveStoreListener(int iListenerId) { _store.RemoveListener(iListenerId); }

  // Registers a new container for undo. Every container's changes are
  // recorded; the count is kept for the callers that check the registration.
  // Containers themselves are not undone: one made in a transaction stays.
  void AddTransactionsOnNewContainers(KORBaseUnknown* iContainer);
  std::size_t UndoRegisteredContainerCount() const { return _undoContainers; }

  // Redraw requests of the document's objects, for the views that show them.
  using RedrawListener = std::function<void(KORBaseUnknown* iObject)>;
  int AddRedrawListener(RedrawListener iListener);
  void RemoveRedrawListener(int iListenerId);
  void NotifyRedraw(KORBaseUnknown* iObject);
  std::size_t RedrawCount() const { return _redrawCount; }

private:
  KORDocument();
  ~KORDocument() override;
  KORFeatureStore _store{*this};
  KORSmartPtr<KORRootContainer> _root;
  std::size_t _undoContainers = 0;
  std::size_t _redrawCount = 0;
  std::vector<std::pair<int, RedrawListener>> _redrawListeners;
  int _nextListenerId = 1;
};

// Registers the host's own behaviours (standard model events and removal on
// features and containers) in the extension dictionary; done once.
void KORRegisterHostComponents();
