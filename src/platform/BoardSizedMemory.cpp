#include "platform/BoardSizedMemory.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace tavrin {

namespace {

// Room for a few boards of 3840 x 2160 and their decoded pictures. Only what is touched is ever
// backed by memory.
constexpr std::size_t kHeapRoom = 192u * 1024 * 1024;
constexpr std::uintptr_t kHugePage = 2u * 1024 * 1024;

} // namespace

void PrepareHeapForBoardSizedImages()
{
    // Allocations up to 32 MiB (the most the allocator allows) come from the heap, and freed
    // memory is only handed back to the system once a quarter of a gigabyte lies free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    // Threads that decode or load ahead allocate from this same heap: an arena of their own
    // would be fresh memory without huge pages, each page of a board a fault of its own.
    mallopt(M_ARENA_MAX, 1);

    // Grow the heap by the room in one step and mark that stretch for huge pages. Where the
    // system has no transparent huge pages the advice fails and nothing else changes.
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    mallopt(M_TOP_PAD, int(kHeapRoom));
    // A block larger than any free space the start-up left in the heap, yet below the threshold
    // above which the allocator maps memory of its own, makes the heap grow here and now.
    // (Kept through a volatile, or the compiler drops an allocation that nothing uses.)
    static void *volatile grow;
    grow = std::malloc(24 * 1024 * 1024);
    mallopt(M_TOP_PAD, 128 * 1024); // the allocator's default for later growth
    void *top = sbrk(0);
    std::free(grow);
    const auto failed = reinterpret_cast<std::uintptr_t>(reinterpret_cast<void *>(-1));
    const auto after = reinterpret_cast<std::uintptr_t>(top);
    if (before == failed || after == failed)
        return;
    const std::uintptr_t first = (before + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = after & ~(kHugePage - 1);
    if (last > first)
        madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

} // namespace tavrin
