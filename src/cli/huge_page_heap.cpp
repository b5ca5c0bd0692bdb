#include "huge_page_heap.h"

#include <cstddef>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

constexpr std::uint64_t MiB = 1u << 20;
constexpr std::uint64_t HUGE_PAGE = 2 * MiB;
// Below this a font needs too few pages for the set-up to pay.
constexpr std::uint64_t SMALLEST_FILE = 1 * MiB;
// The allocator keeps blocks of up to 32 MiB in the heap at most.
constexpr std::uint64_t LARGEST_RESERVE = 30 * MiB;

// Allocator bookkeeping in front of a block and behind it.
constexpr std::uintptr_t CHUNK_OVERHEAD = 64;
constexpr std::uintptr_t SMALLEST_FILLER = 64 * 1024;
// Kept for the life of the process; see prepare_heap_for_font. Volatile, so
// that the compiler keeps an allocation nothing reads.
void *volatile filler;

std::uintptr_t round_down(std::uintptr_t value, std::uintptr_t unit) { return value & ~(unit - 1); }

} // namespace

void prepare_heap_for_font(std::uint64_t file_bytes) {
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    if (file_bytes < SMALLEST_FILE)
        return;
    // The glyphs take less memory than their text; a little more than the file
    // covers the load and the writer's buffers.
    std::uint64_t wanted = file_bytes + HUGE_PAGE;
    if (wanted > LARGEST_RESERVE)
        wanted = LARGEST_RESERVE;
    const auto reserve = (std::size_t)((wanted + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE);
    // One block larger than the heap's free top makes the allocator grow the
    // heap by that much in one step rather than mapping the block apart; freed,
    // it stays as free heap because the trim threshold lies above it.
    if (!mallopt(M_MMAP_THRESHOLD, (int)(reserve + HUGE_PAGE)) ||
        !mallopt(M_TRIM_THRESHOLD, 2 * (int)reserve))
        return;
    auto before = (std::uintptr_t)sbrk(0);
    void *volatile block = std::malloc(reserve);
    auto after = (std::uintptr_t)sbrk(0);
    std::free(block);
    std::uintptr_t start = round_down(before + HUGE_PAGE - 1, HUGE_PAGE);
    std::uintptr_t end = round_down(after, HUGE_PAGE);
    if (!block || end <= start || madvise((void *)start, end - start, MADV_HUGEPAGE) != 0)
        return;
    // The heap below the first huge page has small pages only. A block that
    // fills it, allocated and never touched, costs address space but no memory
    // and makes the font start on the huge pages.
    auto free_from = (std::uintptr_t)block;
    if (free_from < start && start - free_from > SMALLEST_FILLER)
        filler = std::malloc(start - free_from - CHUNK_OVERHEAD);
#else
    (void)file_bytes;
#endif
}
