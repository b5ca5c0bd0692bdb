// New, Delete, Paste, Undo and Redo of a glyph on unifont (57,086 glyphs),
// each with the repaint of the glyph table that follows it, as a multiple of
// one full repaint of the table's page in the same run ("x_page"). Everything
// runs in this process, offscreen, on the program's own document and view.
// Times are the thread's CPU time, so that other work on a shared machine
// weighs on neither side of the ratios.

#include "glyph_clipboard.h"
#include "glyph_edit.h"
#include "glyph_table_area.h"
#include "glyphwerk_app.h"
#include "glyphwerk_doc.h"
#include "glyphwerk_view.h"
#include "main_frame.h"

#include <QMimeData>
#include <QTest>
#include <benchmark/benchmark.h>

#include <ctime>
#include <functional>
#include <memory>
#include <string>

namespace {

const std::string kUnifont = std::string(GLYPHWERK_CORPUS_DIR) + "/misc-unifont.bdf";

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void BM_GlyphCommandsOnUnifont(benchmark::State &state) {
    CGlyphwerkApp app;
    if (!app.InitInstance({"glyphwerk", QString::fromStdString(kUnifont)}) ||
        !QTest::qWaitForWindowExposed(app.MainFrame())) {
        state.SkipWithError("misc-unifont.bdf could not be opened (is it in the corpus?)");
        return;
    }
    CGlyphwerkDoc *doc = app.Document();
    CGlyphTableArea *area = app.View()->TableArea();
    bdf_font *font = doc->Font();
    // A code point the font lacks, in the middle of the list.
    int32_t free = 0x3000;
    while (bdf_find_glyph(font, free) >= 0)
        ++free;
    const int middle = int(font->glyphs_used / 2);
    const std::unique_ptr<QMimeData> clipboard(glyph_clipboard::Copy(font, &font->glyphs[middle + 1]));

    // The CPU time of `command` and the table's repaint after it.
    auto timed = [&](const std::function<void()> &command) {
        const double start = CpuSeconds();
        command();
        area->repaint();
        return CpuSeconds() - start;
    };
    double page = 0, added = 0, deleted = 0, pasted = 0, undone = 0, redone = 0;
    for (auto _ : state) {
        page += timed([&] { area->Invalidate(); });
        added += timed([&] { doc->NewGlyph(free, "new"); });
        undone += timed([&] { doc->Undo(); });
        redone += timed([&] { doc->Redo(); });
        deleted += timed([&] { doc->DeleteGlyph(bdf_find_glyph(font, free)); });
        pasted += timed([&] {
            bdf_glyph shape{};
            QString error;
            if (glyph_clipboard::Paste(clipboard.get(), font, &shape, &error))
                doc->ReshapeGlyph(middle, &shape);
        });
        doc->Undo();
    }
    const double n = double(state.iterations());
    state.counters["page_ms"] = page / n * 1e3;
    const std::pair<const char *, double> commands[] = {
        {"new", added}, {"delete", deleted}, {"paste", pasted}, {"undo", undone}, {"redo", redone}};
    for (const auto &[name, seconds] : commands) {
        state.counters[std::string(name) + "_ms"] = seconds / n * 1e3;
        state.counters[std::string(name) + "_x_page"] = seconds / page;
    }
    app.ExitInstance();
}
BENCHMARK(BM_GlyphCommandsOnUnifont)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
