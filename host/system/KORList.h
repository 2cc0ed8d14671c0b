#pragma once
// The host's lists. Positions are 1-based, as every list of the platform:
// list[1] is the first entry.
#include "objectmodel/KORSmartPtr.h"
#include "system/KORString.h"

#include <cassert>
#include <memory>
#include <utility>
#include <vector>

template <class T> class KORList1 {
public:
  KORList1() = default;
  KORList1(std::initializer_list<T> iValues) : _values(iValues) {}

  int Size() const { return static_cast<int>(_values.size()); }
  bool IsEmpty() const { return _values.empty(); }
  T& operator[](int iPosition) {
    assert(iPosition >= 1 && iPosition <= Size());
    return _values[static_cast<std::size_t>(iPosition - 1)];
  }
  const T& operator[](int iPosition) const {
    assert(iPosition >= 1 && iPosition <= Size());
    return _values[static_cast<std::size_t>(iPosition - 1)];
  }
  void Append(T iValue) { _values.push_back(std::move(iValue)); }
  void RemoveAll() { _values.clear(); }
  void RemovePosition(int iPosition) { _values.erase(_values.begin() + (iPosition - 1)); }
  // 1-based position of the first entry equal to iValue, 0 when absent.
  int Locate(const T& iValue) const {
    for (std::size_t i = 0; i < _values.size(); ++i)
      if (_values[i] == iValue)
        return static_cast<int>(i) + 1;
    return 0;
  }

  auto begin() { return _values.begin(); }
  auto end() { return _values.end(); }
  auto begin() const { return _values.begin(); }
  auto end() const { return _values.end(); }
  std::vector<T>& Values() { return _values; }
  const std::vector<T>& Values() const { return _values; }

private:
  std::vector<T> _values;
};

// A list of element references; the list holds one reference per entry.
using KORListValKORBaseUnknown_var = KORList1<KORBaseUnknown_var>;
// A list of names.
using KORListValKORUnicodeString = KORList1<KORUnicodeString>;
// A collection of integers.
using KORRawCollint = KORList1<int>;

// What an operation hands over as new (a list it returns through an
// out-pointer belongs to the caller) is held by this one owning type, never
// deleted by hand.
template <class T> using KOROwned = std::unique_ptr<T>;
using KOROwnedList = KOROwned<KORListValKORBaseUnknown_var>;
