#include "featurestore/KORNotification.h"

#include <algorithm>

// Out of line, so that the type information lives in the host library alone
// and a module's notifications are recognised by the host and the reverse.
KORNotification::~KORNotification() = default;
KORModelNotification::~KORModelNotification() = default;

bool KORNotification::MarkReached(const void* iReceiver) {
  if (std::find(_reached.begin(), _reached.end(), iReceiver) != _reached.end())
    return false;
  _reached.push_back(iReceiver);
  return true;
}

const KORModelNotification* KORModelNotification::From(const KORNotification& iNotification) {
  return dynamic_cast<const KORModelNotification*>(&iNotification);
}
