#pragma once
// One recorded change of the feature store: enough to make it again
// (forwards) or to take it back (backwards). A transaction is a list of steps.
#include "featurestore/KORFeature.h"

enum class KORStepKind {
  Create,       // the feature comes alive
  Remove,       // the feature dies
  SetValue,     // attribute's whole value: oldValue -> newValue
  InsertEntry,  // newEntry inserted at position of a link list
  EraseEntry,   // oldEntry erased at position
  ReplaceEntry, // entry at position: oldEntry -> newEntry
  Connect,      // receiver receives the model events of sender
  Disconnect    // receiver no longer does
};

struct KORStoreStep {
  explicit KORStoreStep(KORStepKind iKind, KORFeature* iFeature = nullptr,
                        std::size_t iAttribute = 0, std::size_t iPosition = 0)
      : kind(iKind), feature(iFeature), attribute(iAttribute), position(iPosition) {}

  KORStepKind kind;
  KORSmartPtr<KORFeature> feature; // null for connections
  std::size_t attribute = 0;
  std::size_t position = 0; // 0-based
  KORFeature::Value oldValue;
  KORFeature::Value newValue;
  KORSmartPtr<KORFeature> oldEntry;
  KORSmartPtr<KORFeature> newEntry;
  KORBaseUnknown_var sender; // identities
  KORBaseUnknown_var receiver;

  // The kind of the step as it is made in that direction.
  KORStepKind KindWhen(bool iForward) const {
    if (iForward)
      return kind;
    switch (kind) {
    case KORStepKind::Create:
      return KORStepKind::Remove;
    case KORStepKind::Remove:
      return KORStepKind::Create;
    case KORStepKind::InsertEntry:
      return KORStepKind::EraseEntry;
    case KORStepKind::EraseEntry:
      return KORStepKind::InsertEntry;
    case KORStepKind::Connect:
      return KORStepKind::Disconnect;
    case KORStepKind::Disconnect:
      return KORStepKind::Connect;
    default:
      return kind;
    }
  }
};
