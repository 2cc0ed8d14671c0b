#include "featurestore/KORUuid.h"

#include <array>
#include <bit>
#include <cstring>
#include <cstdint>
#include <random>
#include <sys/random.h>

namespace {

// A per-thread 64-bit generator seeded once from the kernel: creating many
// objects costs no system call per identifier.
class RandomSource {
public:
  RandomSource() {
    if (::getrandom(_state, sizeof _state, 0) != static_cast<ssize_t>(sizeof _state)) {
      std::random_device device; // the kernel call failed: a second source of entropy
      for (std::uint64_t& word : _state)
        word = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }
    if ((_state[0] | _state[1] | _state[2] | _state[3]) == 0)
      _state[0] = 1; // the all-zero state would repeat forever
  }
  // xoshiro256**
  std::uint64_t Next() {
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
  std::uint64_t _state[4];
};

constexpr std::uint8_t kNotADigit = 0xFF;

} // namespace

KORUuid KORUuid::Generate() {
  thread_local RandomSource source;
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
  // Written whole into a buffer, two digits a byte from a table: the root
  // renews its identifier on every model event, so this runs hundreds of
  // times per change.
  static constexpr auto kPairs = [] {
    std::array<std::array<char, 2>, 256> pairs{};
    for (int byte = 0; byte < 256; ++byte)
      pairs[byte] = {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 0xF]};
    return pairs;
  }();
  char buffer[4 * 9];
  char* end = buffer;
  for (std::size_t word = 0; word < 4; ++word) {
    const std::uint32_t value = words[word];
    char digits[8];
    for (int byte = 0; byte < 4; ++byte)
      std::memcpy(digits + 2 * byte, kPairs[(value >> (24 - 8 * byte)) & 0xFF].data(), 2);
    // Without leading zeros; a zero word is one digit.
    const int count = value ? (32 - std::countl_zero(value) + 3) / 4 : 1;
    std::memcpy(end, digits + 8 - count, static_cast<std::size_t>(count));
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
