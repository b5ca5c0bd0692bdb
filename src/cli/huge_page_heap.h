#ifndef GLYPHWERK_CLI_HUGE_PAGE_HEAP_H
#define GLYPHWERK_CLI_HUGE_PAGE_HEAP_H

#include <cstdint>

// Prepares the heap for loading a font of `file_bytes` bytes. A load makes a
// few small allocations per glyph, and in a fresh process every new 4 KiB of
// heap costs a page fault: unifont takes about 1,700 of them, which on a
// virtual machine is a third of the whole run. This grows the heap once, by
// about the file's size, and asks for transparent huge pages on it, so the
// font lands in a handful of 2 MiB pages. Small files are left alone; where
// the allocator or the kernel cannot do this, nothing changes.
//
// Kept because it pays: scripts/bench on unifont (9 MiB), this build against
// one without the call in the same interleaved rounds (BENCH_COMPARE), on a
// shared 2-core machine, median wall / CPU time:
//   load 8 to 12, 80 runs:  info 118.1 / 44.5 ms with, 155.9 / 56.1 ms without (24% / 21% saved)
//                           normalize 245.3 / 66.5 ms with, 277.6 / 78.7 ms without (12% / 16%)
//   load about 3, 120 runs: info 46.4 / 41.4 ms with, 54.2 / 46.7 ms without (14% / 11%)
//                           normalize 109.8 / 62.9 ms with, 118.6 / 69.8 ms without (7% / 10%)

void prepare_heap_for_font(std::uint64_t file_bytes);

#endif
