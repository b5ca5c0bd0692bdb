// Load and save throughput of the BDF library in one process, in MB/s of BDF
// text: over unifont (the largest real font) and over the whole corpus.

#include "bdf.h"
#include "metrics.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string corpus_dir = GLYPHWERK_CORPUS_DIR;
const std::string unifont = corpus_dir + "/misc-unifont.bdf";

bdf_font *load(const std::string &path) {
    FILE *file = std::fopen(path.c_str(), "r");
    if (!file)
        return nullptr;
    bdf_font *font = bdf_load_font(file, nullptr, nullptr, nullptr);
    std::fclose(file);
    return font;
}

std::vector<std::string> corpus_fonts() {
    std::vector<std::string> fonts;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(corpus_dir, error))
        if (entry.path().extension() == ".bdf")
            fonts.push_back(entry.path().string());
    std::sort(fonts.begin(), fonts.end());
    return fonts;
}

int64_t total_size(const std::vector<std::string> &paths) {
    int64_t sum = 0;
    for (const auto &p : paths)
        sum += (int64_t)fs::file_size(p);
    return sum;
}

void BM_LoadUnifont(benchmark::State &state) {
    if (!fs::exists(unifont)) {
        state.SkipWithError("unifont is missing: run scripts/corpus");
        return;
    }
    for (auto _ : state) {
        bdf_font *font = load(unifont);
        benchmark::DoNotOptimize(font);
        bdf_free_font(font);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)fs::file_size(unifont));
}

// Saving crops glyphs in place, so every iteration saves a freshly loaded font.
void BM_SaveUnifont(benchmark::State &state) {
    if (!fs::exists(unifont)) {
        state.SkipWithError("unifont is missing: run scripts/corpus");
        return;
    }
    FILE *sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        state.PauseTiming();
        bdf_font *font = load(unifont);
        state.ResumeTiming();
        bdf_save_font(sink, font, nullptr, nullptr, nullptr);
        std::fflush(sink);
        state.PauseTiming();
        bdf_free_font(font);
        state.ResumeTiming();
    }
    std::fclose(sink);
    state.SetBytesProcessed(state.iterations() * (int64_t)fs::file_size(unifont));
}

// What the program adds to every OK in the editor: the metrics that follow the
// glyphs, over unifont's 57,000 glyphs. Without cell padding every glyph's ink
// is scanned, as in a proportional font of that size.
void BM_UpdateMetricsUnifont(benchmark::State &state) {
    bdf_font *font = load(unifont);
    if (!font) {
        state.SkipWithError("unifont is missing: run scripts/corpus");
        return;
    }
    bdf_options options;
    bdf_default_options(&options);
    options.pad_cells = state.range(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(bdf_update_metrics(font, &options));
    state.counters["glyphs"] = (double)font->glyphs_used;
    bdf_free_font(font);
}

void BM_LoadSaveCorpus(benchmark::State &state) {
    std::vector<std::string> fonts = corpus_fonts();
    if (fonts.empty()) {
        state.SkipWithError("corpus is missing: run scripts/corpus");
        return;
    }
    FILE *sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        for (const auto &path : fonts) {
            bdf_font *font = load(path);
            bdf_save_font(sink, font, nullptr, nullptr, nullptr);
            bdf_free_font(font);
        }
        std::fflush(sink);
    }
    std::fclose(sink);
    state.SetBytesProcessed(state.iterations() * total_size(fonts));
    state.counters["fonts"] = (double)fonts.size();
}

BENCHMARK(BM_LoadUnifont)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveUnifont)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateMetricsUnifont)->Unit(benchmark::kMillisecond)->ArgName("pad_cells")->Arg(1)->Arg(0);
BENCHMARK(BM_LoadSaveCorpus)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char **argv) {
    bdf_setup();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bdf_cleanup();
    return 0;
}
