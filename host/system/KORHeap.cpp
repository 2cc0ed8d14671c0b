#include "system/KORHeap.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The C library's largest accepted mmap threshold on 64-bit systems: every
// block below it comes from the heap.
constexpr int kLargestMmapThreshold = 32 * 1024 * 1024;

char* RoundUp(char* iAddress, std::size_t iAlignment) {
  const auto address = reinterpret_cast<std::uintptr_t>(iAddress);
  return reinterpret_cast<char*>((address + iAlignment - 1) / iAlignment * iAlignment);
}

char* RoundDown(char* iAddress, std::size_t iAlignment) {
  const auto address = reinterpret_cast<std::uintptr_t>(iAddress);
  return reinterpret_cast<char*>(address / iAlignment * iAlignment);
}

} // namespace

std::size_t KORLargePageSize() {
  std::ifstream size("/sys/kernel/mm/transparent_hugepage/hpage_pmd_size");
  std::size_t bytes = 0;
  return size >> bytes ? bytes : 0;
}

bool KORBackHeapWithLargePages(std::size_t iReserve) {
  const std::size_t largePage = KORLargePageSize();
  if (largePage == 0 || iReserve < 2 * largePage)
    return false;
  // Both are also what keeps the reserve in one piece: a block served by mmap
  // would sit outside it, and a trim would give part of it back.
  if (mallopt(M_MMAP_THRESHOLD, kLargestMmapThreshold) == 0 ||
      mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * iReserve)) == 0 ||
      mallopt(M_TOP_PAD, static_cast<int>(iReserve)) == 0)
    return false;
  // A block larger than what the young heap has left makes it grow by the
  // block plus the reserve; given back at once, the block joins the reserve.
  char* const before = static_cast<char*>(sbrk(0));
  // Volatile: a block freed unused may otherwise never be asked for at all.
  void* volatile probe = std::malloc(largePage);
  char* const after = static_cast<char*>(sbrk(0));
  std::free(probe);
  if (before == reinterpret_cast<char*>(-1) || after <= before)
    return false;
  // Only whole large pages inside the grown part: nothing has written there yet.
  char* const first = RoundUp(before, largePage);
  char* const last = RoundDown(after, largePage);
  return last > first &&
         madvise(first, static_cast<std::size_t>(last - first), MADV_HUGEPAGE) == 0;
}
