// The editor's painting cost against one copy of the visible view image, both
// measured in this run: one pencil event (paint a cell, compose the view) and
// a full Rebuild, at zoom 20 on a 64 x 64 font box. Each benchmark reports its
// time per iteration as "x_view_copy", a multiple of that copy.

#include "cell_colours.h"
#include "edit_canvas.h"
#include "grid_painter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

// The canvas frame of the dialog at the usual dialog font: about 352 x 314 pixels, less the margins.
constexpr int kViewWidth = 344, kViewHeight = 306;
constexpr int kBox = 64;

struct Fixture {
    Fixture() {
        glyph.bbx = {kBox, kBox, 0, 0, kBox, 0};
        glyph.bytes = kBox / 8 * kBox;
        glyph.bitmap = static_cast<unsigned char *>(malloc(glyph.bytes));
        for (uint32_t i = 0; i < glyph.bytes; ++i)
            glyph.bitmap[i] = static_cast<unsigned char>(i * 37);
        glyph.dwidth = kBox;
        canvas.SetViewSize(kViewWidth, kViewHeight);
        canvas.SetUp(&glyph, glyph.bbx, 1);
        while (canvas.ZoomIn()) {
        }
        canvas.SelectTool(TOOL_PENCIL, true);
    }
    ~Fixture() { free(glyph.bitmap); }
    bdf_glyph glyph{};
    CEditCanvas canvas;
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Seconds for one copy of a view-sized block of the canvas into a view-sized image.
double ViewCopySeconds() {
    static const double seconds = [] {
        Fixture f;
        QImage view(kViewWidth, kViewHeight, QImage::Format_RGB32);
        CGridPainter painter;
        std::vector<double> rounds;
        for (int round = 0; round < 7; ++round) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < 2000; ++i) {
                painter.CopyRect(view, 0, 0, f.canvas.Canvas(), i % 64, 0, kViewWidth, kViewHeight);
                benchmark::DoNotOptimize(view.constBits());
            }
            rounds.push_back(Seconds(std::chrono::steady_clock::now() - start) / 2000);
        }
        std::sort(rounds.begin(), rounds.end());
        return rounds[rounds.size() / 2];
    }();
    return seconds;
}

template <typename Body> void Measure(benchmark::State &state, Body body) {
    const double baseline = ViewCopySeconds();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        body();
    const double perIteration = Seconds(std::chrono::steady_clock::now() - start) / double(state.iterations());
    state.counters["x_view_copy"] = perIteration / baseline;
}

void BM_ViewCopy(benchmark::State &state) {
    Fixture f;
    QImage view(kViewWidth, kViewHeight, QImage::Format_RGB32);
    CGridPainter painter;
    int i = 0;
    Measure(state, [&] {
        painter.CopyRect(view, 0, 0, f.canvas.Canvas(), ++i % 64, 0, kViewWidth, kViewHeight);
        benchmark::DoNotOptimize(view.constBits());
    });
}
BENCHMARK(BM_ViewCopy);

// One mouse move with the left button held: the pencil paints a cell and presents.
void BM_PencilEvent(benchmark::State &state) {
    Fixture f;
    const Cell down{0, 0};
    f.canvas.OnCanvasMouse(MOUSE_LEFT_DOWN, &down);
    int i = 0;
    Measure(state, [&] {
        const Cell cell{i % 16, (i / 16) % 14};
        ++i;
        f.canvas.OnCanvasMouse(MOUSE_MOVE, &cell);
        benchmark::DoNotOptimize(f.canvas.BackBuffer().constBits());
    });
}
BENCHMARK(BM_PencilEvent);

void BM_Rebuild(benchmark::State &state) {
    Fixture f;
    Measure(state, [&] {
        f.canvas.Rebuild();
        benchmark::DoNotOptimize(f.canvas.Canvas().constBits());
    });
}
BENCHMARK(BM_Rebuild);

} // namespace

BENCHMARK_MAIN();
