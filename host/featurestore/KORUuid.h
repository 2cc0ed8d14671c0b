#pragma once
// A 128-bit universal identifier, held as four 32-bit words. Its host text
// form is the four words in lowercase hexadecimal without leading zeros,
// separated by "_" (for example "1a_0_ffffffff_3c").
#include "system/KORString.h"

#include <array>
#include <cstdint>
#include <string_view>

struct KORUuid {
  std::array<std::uint32_t, 4> words{};

  static KORUuid Generate();
  bool IsNull() const { return words == std::array<std::uint32_t, 4>{}; }
  KORString ToText() const;
  // The text form into oText, reusing its storage.
  void WriteText(KORString& oText) const;
  // Reads the text form; fails on anything else.
  static bool FromText(std::string_view iText, KORUuid& oUuid);
  friend bool operator==(const KORUuid&, const KORUuid&) = default;
};
