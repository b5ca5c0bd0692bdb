// The glyph table's painting cost against filling the same off-screen image
// once, both measured in this run, on unifont (16 x 16 cells) in a 1000 x 500
// area: one full page, and a scroll through the whole font one row at a time.
// Each benchmark reports its time per page as "x_fill", a multiple of one fill.
// Times are the thread's CPU time, so that other work on a shared machine
// weighs on neither side of the ratio.

#include "bdf.h"
#include "glyph_table.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct NullArea : CTableArea {
    QSize ClientSize() const override { return {1000, 500}; }
    void ShowBuffer(const QRect &) override {}
};

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The font, loaded once; null when the corpus has no unifont.
bdf_font *Unifont() {
    static bdf_font *font = [] {
        bdf_setup();
        const std::string path = std::string(GLYPHWERK_CORPUS_DIR) + "/misc-unifont.bdf";
        return bdf_load_font_path(path.c_str());
    }();
    return font;
}

// Seconds for one fill of a page-sized image (the median of many rounds).
double FillSeconds() {
    static const double seconds = [] {
        QImage image(1000 - CGlyphTable::kRightMargin, 500, QImage::Format_RGB32);
        std::vector<double> rounds;
        for (int i = 0; i < 2000; ++i) {
            const double start = CpuSeconds();
            image.fill(qRgb(255, 255, 255));
            benchmark::DoNotOptimize(image.constBits());
            rounds.push_back(CpuSeconds() - start);
        }
        std::nth_element(rounds.begin(), rounds.begin() + rounds.size() / 2, rounds.end());
        return rounds[rounds.size() / 2];
    }();
    return seconds;
}

// Puts unifont into the table; false (and the benchmark skipped) without it.
bool ShowUnifont(benchmark::State &state, NullArea &area, CGlyphTable &table) {
    bdf_font *font = Unifont();
    if (!font) {
        state.SkipWithError("misc-unifont.bdf is not in the corpus");
        return false;
    }
    table.Draw(&area, font, nullptr);
    return true;
}

void BM_PaintOnePage(benchmark::State &state) {
    NullArea area;
    CGlyphTable table;
    if (!ShowUnifont(state, area, table))
        return;
    double total = 0;
    for (auto _ : state) {
        const double start = CpuSeconds();
        table.Paint(&area);
        total += CpuSeconds() - start;
    }
    state.counters["cells"] = table.PageCells();
    state.counters["x_fill"] = total / double(state.iterations()) / FillSeconds();
}
BENCHMARK(BM_PaintOnePage)->Unit(benchmark::kMicrosecond);

void BM_ScrollWholeFontByRows(benchmark::State &state) {
    NullArea area;
    CGlyphTable table;
    if (!ShowUnifont(state, area, table))
        return;
    double total = 0, worst = 0;
    long pages = 0;
    for (auto _ : state) {
        for (int row = 1; row <= table.ScrollMaximum(); ++row) {
            const double start = CpuSeconds();
            table.SetFirstRow(row, &area);
            const double page = CpuSeconds() - start;
            total += page;
            worst = std::max(worst, page);
            ++pages;
        }
        table.SetFirstRow(0, &area);
    }
    state.counters["pages"] = double(pages) / double(state.iterations());
    state.counters["x_fill"] = total / double(pages) / FillSeconds();
    state.counters["x_fill_worst"] = worst / FillSeconds();
}
BENCHMARK(BM_ScrollWholeFontByRows)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
