#pragma once
// Result codes of every interface operation. No exception crosses an interface:
// operations return one of these 32-bit statuses.
#include <cstdint>

using HRESULT = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);

inline constexpr bool SUCCEEDED(HRESULT iResult) {
  return iResult >= 0;
}
inline constexpr bool FAILED(HRESULT iResult) {
  return iResult < 0;
}

// Marks a result that is deliberately not looked at, with the reason
// (KORIgnoreResult(hr, "a missing trace file is no error")): the reason is
// for the reader, and the call is what a search for ignored results finds.
template <class Result> constexpr void KORIgnoreResult(const Result&, const char* /*iWhy*/) {}
