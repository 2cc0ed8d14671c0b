#pragma once
// A copy of a document's features built only from what its store-change
// listeners hear: it ends equal to the store when the listeners were told
// every change.
#include "featurestore/KORDocument.h"

#include <map>
#include <vector>

class StoreMirror {
public:
  // Starts from the features iContainer holds now.
  StoreMirror(KORDocument& iDocument, const KORFeatureContainer& iContainer)
      : _document(iDocument), _state(Of(iContainer)) {
    _id = iDocument.AddStoreListener([this](const KORStoreChange& iChange) { Hear(iChange); });
  }
  ~StoreMirror() { _document.RemoveStoreListener(_id); }
  StoreMirror(const StoreMirror&) = delete;
  StoreMirror& operator=(const StoreMirror&) = delete;

  // The live features of iContainer with their values.
  static std::map<const KORFeature*, std::vector<KORFeature::Value>>
  Of(const KORFeatureContainer& iContainer) {
    std::map<const KORFeature*, std::vector<KORFeature::Value>> state;
    for (const auto& feature : iContainer.Features())
      if (!feature->IsDead())
        state[feature.get()] = feature->Values();
    return state;
  }
  const std::map<const KORFeature*, std::vector<KORFeature::Value>>& State() const {
    return _state;
  }

private:
  void Hear(const KORStoreChange& iChange) {
    auto* feature = KORGetImplementationAs<KORFeature>(iChange.feature);
    switch (iChange.kind) {
    case KORStoreChangeKind::Create:
      _state[feature] = feature->Values();
      break;
    case KORStoreChangeKind::Remove:
      _state.erase(feature);
      break;
    default:
      auto index = static_cast<std::size_t>(feature->Type().Find(iChange.key));
      _state.at(feature)[index] = feature->Values()[index];
    }
  }
  KORDocument& _document;
  std::map<const KORFeature*, std::vector<KORFeature::Value>> _state;
  int _id = 0;
};
