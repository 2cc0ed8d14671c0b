#include "featurestore/KORUuid.h"

#include "system/KORThreadLocal.h"

#include <array>
#include <bit>
#include <cstring>
#include <cstdint>
#include <random>
#include <sys/random.h>

namespace {

// A per-thread 64-bit generator seeded from the kernel on its first use:
// creating many objects costs no system call per identifier. It starts as
// zeros, so that a thread's generator needs no constructor and is reached as
// directly as any variable of the thread (see KORThreadLocal.h).
class RandomSource {
public:
  std::uint64_t Next() {
    if ((_state[0] | _state[1] | _state[2] | _state[3]) == 0)
      Seed();
    return Step();
  }

private:
  void Seed() {
    if (::getrandom(_state, sizeof _state, 0) != static_cast<ssize_t>(sizeof _state)) {
      std::random_device device; // the kernel call failed: a second source of entropy
      for (std::uint64_t& word : _state)
        word = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }
    if ((_state[0] | _state[1] | _state[2] | _state[3]) == 0)
      _state[0] = 1; // the all-zero state would repeat forever
  }
  // xoshiro256**
  std::uint64_t Step() {
    const std::uint64_t result = Rotate(_state[1] * 5, 7) * 9;
    const std::uint64_t shifted = _state[1] << 17;
    _state[2] ^= _state[0];
    _state[3] ^= _state[1];
    _state[1] ^= _state[2];
    _state[0] ^= _state[3];
    _state[2] ^= shifted;
    _state[3] = Rotate(_state[3], 45);
    return result;
  }

private:
  static std::uint64_t Rotate(std::uint64_t iValue, int iBits) {
    return (iValue << iBits) | (iValue >> (64 - iBits));
  }
  std::uint64_t _state[4] = {};
};

constexpr std::uint8_t kNotADigit = 0xFF;

KOR_THREAD_LOCAL RandomSource tRandomSource;

} // namespace

KORUuid KORUuid::Generate() {
  RandomSource& source = tRandomSource;
  const std::uint64_t high = source.Next(), low = source.Next();
  KORUuid result;
  result.words[0] = static_cast<std::uint32_t>(high >> 32);
  // Version 4 (random) in the high nibble of byte 6, variant 10xx in byte 8.
  result.words[1] = (static_cast<std::uint32_t>(high) & 0xFFFF0FFFu) | 0x00004000u;
  result.words[2] = (static_cast<std::uint32_t>(low >> 32) & 0x3FFFFFFFu) | 0x80000000u;
  result.words[3] = static_cast<std::uint32_t>(low);
  return result;
}

KORString KORUuid::ToText() const {
  KORString text;
  WriteText(text);
  return text;
}

void KORUuid::WriteText(KORString& oText) const {
  // The root renews its identifier on every model event, so this runs
  // hundreds of times per change: each word becomes its eight digits at once,
  // in one 64-bit register, one digit a byte.
  static_assert(std::endian::native == std::endian::little);
  char buffer[4 * 9 + 8]; // a word is stored as 8 bytes, its leading zeros overwritten
  char* end = buffer;
  for (const std::uint32_t value : words) {
    std::uint64_t nibbles = value; // nibble k (from the least significant) into byte k
    nibbles = (nibbles | nibbles << 16) & 0x0000FFFF0000FFFFull;
    nibbles = (nibbles | nibbles << 8) & 0x00FF00FF00FF00FFull;
    nibbles = (nibbles | nibbles << 4) & 0x0F0F0F0F0F0F0F0Full;
    const std::uint64_t letters = ((nibbles + 0x0606060606060606ull) >> 4) & 0x0101010101010101ull;
    std::uint64_t digits =
        nibbles + 0x3030303030303030ull + letters * static_cast<std::uint64_t>('a' - '0' - 10);
    digits = __builtin_bswap64(digits); // the most significant digit first in memory
    // Without leading zeros; a zero word is one digit.
    const int count = value ? (std::bit_width(value) + 3) / 4 : 1;
    digits >>= 8 * (8 - count);
    std::memcpy(end, &digits, sizeof digits);
    end += count;
    *end++ = '_';
  }
  oText.assign(buffer, end - 1);
}

bool KORUuid::FromText(std::string_view iText, KORUuid& oUuid) {
  // One pass through a table: a loader reads an identifier for every
  // feature and link. Lowercase digits only, as ToText writes them.
  static constexpr auto kDigits = [] {
    std::array<std::uint8_t, 256> digits{};
    digits.fill(kNotADigit);
    for (int digit = 0; digit < 16; ++digit)
      digits["0123456789abcdef"[digit]] = static_cast<std::uint8_t>(digit);
    return digits;
  }();
  // Four words of one to eight digits, joined by '_'.
  KORUuid result;
  const char* at = iText.data();
  const char* const end = at + iText.size();
  for (std::size_t word = 0; word < 4; ++word) {
    if (word > 0 && (at == end || *at++ != '_'))
      return false;
    const char* const first = at;
    std::uint32_t value = 0;
    while (at != end && at - first < 8) {
      const std::uint8_t digit = kDigits[static_cast<unsigned char>(*at)];
      if (digit == kNotADigit)
        break;
      value = (value << 4) | digit;
      ++at;
    }
    if (at == first)
      return false;
    result.words[word] = value;
  }
  if (at != end)
    return false; // a ninth digit or anything else after the last word
  oUuid = result;
  return true;
}
