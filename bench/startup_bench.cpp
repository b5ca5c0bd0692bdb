// Start-up to the first painted window with unifont open, less showing and
// painting an empty window of the same size, as a multiple of what
// `glyphwerk-bdf info` does with unifont (set-up, load, summary, release,
// clean-up). All three run in this process, offscreen, so process creation
// and Qt's own start weigh on neither side.

#include "bdf.h"
#include "font_summary.h"
#include "glyph_table_area.h"
#include "glyphwerk_app.h"
#include "glyphwerk_view.h"
#include "main_frame.h"

#include <QTest>
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

const std::string kUnifont = std::string(GLYPHWERK_CORPUS_DIR) + "/misc-unifont.bdf";

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

double InfoSeconds() {
    const auto start = std::chrono::steady_clock::now();
    bdf_setup();
    bdf_font *font = bdf_load_font_path(kUnifont.c_str());
    benchmark::DoNotOptimize(bdf_font_summary(font, kUnifont.c_str()));
    bdf_free_font(font);
    bdf_cleanup();
    return Seconds(std::chrono::steady_clock::now() - start);
}

double EmptyWindowSeconds() {
    const auto start = std::chrono::steady_clock::now();
    QWidget window;
    window.resize(1024, 768);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return -1;
    window.repaint();
    return Seconds(std::chrono::steady_clock::now() - start);
}

double StartupSeconds() {
    const auto start = std::chrono::steady_clock::now();
    CGlyphwerkApp app;
    if (!app.InitInstance({"glyphwerk", QString::fromStdString(kUnifont)}))
        return -1;
    if (!QTest::qWaitForWindowExposed(app.MainFrame()))
        return -1;
    app.View()->TableArea()->repaint();
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    app.ExitInstance();
    return seconds;
}

void BM_StartupWithUnifont(benchmark::State &state) {
    double info = 0, empty = 0, startup = 0;
    for (auto _ : state) {
        info += InfoSeconds();
        const double blank = EmptyWindowSeconds();
        const double seconds = StartupSeconds();
        if (blank < 0 || seconds < 0) {
            state.SkipWithError("no window was shown, or unifont could not be opened (is it in the corpus?)");
            return;
        }
        empty += blank;
        startup += seconds;
    }
    const double n = double(state.iterations());
    state.counters["info_ms"] = info / n * 1e3;
    state.counters["empty_ms"] = empty / n * 1e3;
    state.counters["startup_ms"] = startup / n * 1e3;
    state.counters["x_info"] = (startup - empty) / info;
}
BENCHMARK(BM_StartupWithUnifont)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
