#include "system/KORHeap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// The smaps entry of the mapping holding iAddress: its header line and fields.
std::string MappingOf(const void* iAddress) {
  const auto address = reinterpret_cast<std::uintptr_t>(iAddress);
  std::ifstream maps("/proc/self/smaps");
  std::string line, entry;
  bool inside = false;
  while (std::getline(maps, line)) {
    std::uintptr_t begin = 0, end = 0;
    char dash = 0;
    std::istringstream header(line);
    // A header starts with "begin-end"; field lines start with a name and ':'.
    if (line.find(':') > line.find(' ') && header >> std::hex >> begin >> dash >> end &&
        dash == '-') {
      if (inside)
        break;
      inside = begin <= address && address < end;
    }
    if (inside)
      entry += line + '\n';
  }
  return entry;
}

bool LargePagesOffered() {
  std::ifstream enabled("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  std::getline(enabled, modes);
  return KORLargePageSize() != 0 && modes.find("[never]") == std::string::npos;
}

} // namespace

TEST(KORHeap, ReserveTooSmallForTwoLargePagesIsRefused) {
  if (KORLargePageSize() == 0)
    GTEST_SKIP() << "this kernel has no large pages";
  EXPECT_FALSE(KORBackHeapWithLargePages(KORLargePageSize()));
}

TEST(KORHeap, LaterBlocksComeFromTheAdvisedReserve) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's allocator has no heap to advise";
#endif
  if (!LargePagesOffered())
    GTEST_SKIP() << "transparent large pages are off on this system";
  ASSERT_TRUE(KORBackHeapWithLargePages(64 * kMiB));
  // A block this size would otherwise be mapped on its own, outside the heap.
  void* block = std::malloc(8 * kMiB);
  ASSERT_NE(block, nullptr);
  const std::string mapping = MappingOf(static_cast<char*>(block) + 4 * kMiB);
  std::free(block);
  ASSERT_FALSE(mapping.empty());
  EXPECT_NE(mapping.find("[heap]"), std::string::npos) << mapping;
  // "hg": the kernel holds the advice for this range.
  const std::size_t flags = mapping.find("VmFlags:");
  ASSERT_NE(flags, std::string::npos) << mapping;
  EXPECT_NE(mapping.find(" hg", flags), std::string::npos) << mapping;
}
