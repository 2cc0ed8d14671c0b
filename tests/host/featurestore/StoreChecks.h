#pragma once
// What tests of the store compare: the bytes a document saves to, and a copy
// of its features built only from what its store-change listeners hear.
#include "featurestore/KORDocumentIO.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

inline std::string SavedBytes(KORDocument& iDocument) {
  // One file per test process: ctest runs tests side by side.
  const std::string path =
      ::testing::TempDir() + "kor_saved_" + std::to_string(::getpid()) + ".json";
  std::string error;
  EXPECT_EQ(KORSaveDocument(iDocument, path, error), S_OK) << error;
  std::ifstream file(path, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::remove(path.c_str());
  return bytes;
}

// It ends equal to the store when the listeners were told every change.

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
