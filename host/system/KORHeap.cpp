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

// The heap's blocks kept from use, unwritten, below its first large page;
// volatile, as blocks never read may otherwise never be asked for at all.
void* volatile gHeldProbe = nullptr;
void* volatile gHeldFiller = nullptr;

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
  // block plus the reserve.
  char* const before = static_cast<char*>(sbrk(0));
  void* const probe = std::malloc(largePage);
  char* const after = static_cast<char*>(sbrk(0));
  // Only whole large pages inside the grown part, where nothing was written.
  char* const first = RoundUp(before, largePage);
  char* const last = RoundDown(after, largePage);
  if (!probe || before == reinterpret_cast<char*>(-1) || last <= first ||
      madvise(first, static_cast<std::size_t>(last - first), MADV_HUGEPAGE) != 0) {
    std::free(probe);
    return false;
  }
  // Carving the probe wrote the heap's next header just past it, which put the
  // large page there on small pages. So the probe, and a filler up to the next
  // large-page boundary, are held for good and never written: they cost
  // address space only, and every later block lands on large pages. The top
  // of the heap (what the next blocks are carved from) ends at the break.
  char* const top = after - mallinfo2().keepcost;
  gHeldProbe = probe;
  gHeldFiller = std::malloc(static_cast<std::size_t>(RoundUp(top + 1, largePage) - top));
  return true;
}
