#pragma once
// How the process's heap is backed.
#include <cstddef>

// Readies the heap of a short-lived, allocation-heavy process (a command-line
// run) for large pages. Touching a fresh 4 KiB page costs a fault, and such a
// run builds a whole document: thousands of faults, a sizeable share of its
// time. So the C library is asked to serve every block from its main heap, to
// grow that heap once by iReserve bytes ahead of need and never to hand memory
// back; the kernel is then advised to back that reserve with large pages, which
// it does where transparent large pages are enabled ("madvise" or "always").
// Only address space is reserved: a region is backed once something is written
// into it. Call it first thing in main, before the heap grows. True when the
// advice was given; false when the heap did not grow in place (another
// allocator, or no large pages on this system), which changes nothing else.
bool KORBackHeapWithLargePages(std::size_t iReserve);

// The size of a large page on this system, 0 when the kernel has none.
std::size_t KORLargePageSize();
