#pragma once
// A list of callbacks with handles, safe to change while it runs: a callback
// may add or remove callbacks (itself included) and only those still
// registered when their turn comes run.
#include <algorithm>
#include <vector>

using KORCallbackHandle = int;

template <class Entry> class KORCallbackList {
public:
  KORCallbackHandle Add(Entry iEntry) {
    const KORCallbackHandle handle = _nextHandle++;
    _entries.push_back({handle, std::move(iEntry)});
    return handle;
  }
  void Remove(KORCallbackHandle iHandle) {
    std::erase_if(_entries, [iHandle](const auto& e) { return e.handle == iHandle; });
  }
  int Size() const { return static_cast<int>(_entries.size()); }

  // Runs iRun on a copy of each entry that iMatches, in the order added.
  template <class Match, class Run> void RunMatching(Match iMatches, Run iRun) {
    std::vector<KORCallbackHandle> handles;
    for (const auto& e : _entries)
      if (iMatches(e.entry))
        handles.push_back(e.handle);
    for (KORCallbackHandle handle : handles) {
      auto found = std::find_if(_entries.begin(), _entries.end(),
                                [handle](const auto& e) { return e.handle == handle; });
      if (found == _entries.end())
        continue;
      Entry entry = found->entry; // survives its own removal
      iRun(entry);
    }
  }

private:
  struct Slot {
    KORCallbackHandle handle;
    Entry entry;
  };
  std::vector<Slot> _entries;
  KORCallbackHandle _nextHandle = 1;
};
