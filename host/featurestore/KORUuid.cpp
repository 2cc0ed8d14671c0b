#include "featurestore/KORUuid.h"

#include "system/KORThreadLocal.h"

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

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of each byte of iBytes that lies within [iLow, iHigh]; bytes
// from 0x80 up never do. Each sum stays within its byte: no carry crosses.
std::uint64_t BytesWithin(std::uint64_t iBytes, unsigned char iLow, unsigned char iHigh) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  const std::uint64_t ascii = iBytes & ~kHighBits;
  const std::uint64_t atLeastLow = ascii + (0x80 - iLow) * kOnes;
  const std::uint64_t aboveHigh = ascii + (0x7F - iHigh) * kOnes;
  return atLeastLow & ~aboveHigh & ~iBytes & kHighBits;
}

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
  // A loader reads an identifier for every feature and link: each word's
  // digits are classified and converted eight bytes at a time, in one 64-bit
  // register. Lowercase digits only, as WriteText writes them.
  static_assert(std::endian::native == std::endian::little);
  constexpr std::size_t kLongest = 4 * 8 + 3;
  if (iText.size() > kLongest)
    return false;
  // Zero bytes after the text are not digits: a word's scan stops there.
  char padded[kLongest + 8] = {};
  std::memcpy(padded, iText.data(), iText.size());
  KORUuid result;
  std::size_t at = 0;
  for (std::size_t word = 0; word < 4; ++word) {
    if (word > 0 && padded[at++] != '_')
      return false;
    std::uint64_t bytes;
    std::memcpy(&bytes, padded + at, sizeof bytes);
    const std::uint64_t decimal = BytesWithin(bytes, '0', '9');
    const std::uint64_t letter = BytesWithin(bytes, 'a', 'f');
    const std::uint64_t notDigit = ~(decimal | letter) & kHighBits;
    const int count = notDigit ? std::countr_zero(notDigit) / 8 : 8;
    if (count == 0)
      return false;
    // '0'-'9' and 'a'-'f' carry their value, less nine for the letters, in
    // their low nibble.
    std::uint64_t nibbles = (bytes & 0x0F0F0F0F0F0F0F0Full) + (letter >> 7) * 9;
    // The first digit is the most significant: reversed, then the digits
    // read moved to the low end, one nibble a byte, then packed.
    nibbles = __builtin_bswap64(nibbles) >> (8 * (8 - count));
    nibbles = (nibbles | nibbles >> 4) & 0x00FF00FF00FF00FFull;
    nibbles = (nibbles | nibbles >> 8) & 0x0000FFFF0000FFFFull;
    nibbles = (nibbles | nibbles >> 16) & 0x00000000FFFFFFFFull;
    result.words[word] = static_cast<std::uint32_t>(nibbles);
    at += static_cast<std::size_t>(count);
  }
  if (at != iText.size())
    return false; // a ninth digit or anything else after the last word
  oUuid = result;
  return true;
}
