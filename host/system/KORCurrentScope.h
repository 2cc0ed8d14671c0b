#pragma once
// Makes an object the current one of its kind for the scope's lifetime and
// gives the previous one back when the scope ends. Scopes nest; each must end
// on the thread that began it, innermost first, and the object must outlive
// its scope. The current pointer is the kind's own (usually thread_local).
#include <utility>

template <class T> class KORCurrentScope {
public:
  KORCurrentScope(T*& ioCurrent, T& iObject)
      : _current(ioCurrent), _previous(std::exchange(ioCurrent, &iObject)) {}
  ~KORCurrentScope() { _current = _previous; }
  KORCurrentScope(const KORCurrentScope&) = delete;
  KORCurrentScope& operator=(const KORCurrentScope&) = delete;

private:
  T*& _current;
  T* _previous;
};
