#include "featurestore/KORNotification.h"

#include "featurestore/KORModelObject.h"
#include "system/KORThreadLocal.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <utility>

namespace {
// The slots of KORReachedMarks held by this thread's living notifications,
// one bit each.
KOR_THREAD_LOCAL unsigned tTakenSlots = 0;
// Shared by all threads, so that a stamp left by one thread's notification
// never matches another's. Serial numbers start at 1: an unstamped mark is 0.
std::atomic<std::uint64_t> lastSerial{0};
} // namespace

// Out of line, so that the type information lives in the host library alone
// and a module's notifications are recognised by the host and the reverse.
KORNotification::~KORNotification() {
  if (_slot != kNoSlot)
    tTakenSlots &= ~(1u << _slot);
}
KORModelNotification::~KORModelNotification() = default;

void KORNotification::TakeSlot() {
  _serial = lastSerial.fetch_add(1, std::memory_order_relaxed) + 1;
  for (int slot = 0; slot < static_cast<int>(KORReachedMarks::kSlots); ++slot)
    if (!(tTakenSlots & (1u << slot))) {
      tTakenSlots |= 1u << slot;
      _slot = slot;
      return;
    }
}

bool KORNotification::MarkReached(KORBaseUnknown* iReceiver) {
  // An object of a document is marked where its dispatcher marks it.
  if (KORModelObject* object = KORModelObject::From(iReceiver))
    return MarkReached(object->Dispatcher().Marks());
  return MarkInRecord(iReceiver);
}

bool KORNotification::MarkInRecord(const void* iReceiver) {
  if (!iReceiver)
    return !std::exchange(_reachedNull, true);
  if (_table.empty()) {
    const auto few = _few.begin() + static_cast<std::ptrdiff_t>(_reachedCount);
    if (std::find(_few.begin(), few, iReceiver) != few)
      return false;
    if (_reachedCount < kFewReached) {
      _few[_reachedCount++] = iReceiver;
      return true;
    }
    GrowTable();
  }
  return InsertInTable(iReceiver);
}

bool KORNotification::InsertInTable(const void* iReceiver) {
  // Objects are aligned: the low bits of their address carry no information.
  const std::size_t mask = _table.size() - 1;
  std::size_t slot = (reinterpret_cast<std::uintptr_t>(iReceiver) >> 4) * 0x9E3779B97F4A7C15ull;
  for (slot &= mask; _table[slot]; slot = (slot + 1) & mask)
    if (_table[slot] == iReceiver)
      return false;
  _table[slot] = iReceiver;
  // Kept at most half full, so that a probe ends soon on an empty slot.
  if (++_reachedCount * 2 > _table.size())
    GrowTable();
  return true;
}

void KORNotification::ExpectInRecord(std::size_t iMore) {
  const std::size_t expected = _reachedCount + iMore;
  // Kept at most half full, like every insertion keeps it.
  if (expected > kFewReached && expected * 2 >= _table.size())
    GrowTable(expected * 2 + 1);
}

void KORNotification::GrowTable(std::size_t iAtLeast) {
  std::vector<const void*> old = std::move(_table);
  std::size_t size = old.empty() ? kFewReached * 8 : old.size() * 2;
  while (size < iAtLeast)
    size *= 2;
  _table.assign(size, nullptr);
  _reachedCount = 0;
  if (old.empty())
    old.assign(_few.begin(), _few.end());
  for (const void* receiver : old)
    if (receiver)
      InsertInTable(receiver); // all different: each one is placed
}

// Asked of every event by every receiver: a virtual call, where a cast would
// compare type names across the libraries that made the notification.
const KORModelNotification* KORModelNotification::From(const KORNotification& iNotification) {
  return iNotification.AsModelNotification();
}
