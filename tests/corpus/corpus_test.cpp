// Every X11 font of the corpus keeps every glyph's name, device width and ink
// through glyphwerk-bdf, bdftopcf and pcf2bdf. The fonts are dealt to SHARDS
// ctest cases (largest first, round robin) so that ctest -j runs them side by side.

#include "ink_font.h"
#include "run_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int SHARDS = 8;
const std::string corpus_dir = GLYPHWERK_CORPUS_DIR, cli_path = GLYPHWERK_BDF_CLI;

std::vector<fs::path> corpus_fonts() {
    std::vector<fs::path> fonts;
    for (const auto &entry : fs::directory_iterator(corpus_dir))
        if (entry.path().extension() == ".bdf")
            fonts.push_back(entry.path());
    std::sort(fonts.begin(), fonts.end(), [](auto &a, auto &b) { return std::pair(fs::file_size(b), a) < std::pair(fs::file_size(a), b); });
    return fonts;
}

// Everything wrong with one font, or "".
std::string check_font(const fs::path &original, const temp_dir &dir) {
    const std::string n1 = dir.file("n1.bdf"), n2 = dir.file("n2.bdf"), n3 = dir.file("n3.bdf"), pcf = dir.file("f.pcf"),
                      back = dir.file("back.bdf");
    const std::pair<std::vector<std::string>, std::string> steps[] = {
        {{cli_path, "normalize", original.string(), n1}, "does not load"},
        {{cli_path, "normalize", n1, n2}, "its normalised form does not normalise again"},
        {{cli_path, "normalize", n2, n3}, "its normalised form does not normalise again"},
        {{"bdftopcf", "-o", pcf, n1}, "bdftopcf rejects the normalised font"},
        {{"pcf2bdf", "-o", back, pcf}, "pcf2bdf cannot read bdftopcf's output"}};
    for (const auto &[argv, failure] : steps) {
        command_result r = run_command(argv);
        if (r.exit_status != 0 || (argv[0] == "bdftopcf" && !r.err.empty()))
            return failure + " (exit " + std::to_string(r.exit_status) + "): " + r.err;
    }
    if (read_file(n2) != read_file(n3))
        return "normalising is not a fixed point: the third pass differs from the second";
    ink_font before, after;
    try {
        before = read_ink_font(read_file(original.string())), after = read_ink_font(read_file(back));
    } catch (const std::exception &e) {
        return std::string("unreadable: ") + e.what();
    }
    // A non-proportional font's glyphs all take its common width when written.
    const bool monospaced = !before.spacing.empty() && before.spacing[0] != 'P' && before.spacing[0] != 'p';
    const int mono_width = monospaced ? common_dwidth(before) : -1;
    std::string problems;
    int reported = 0;
    for (const auto &[encoding, glyph] : before.encoded) {
        auto found = after.encoded.find(encoding);
        ink_glyph expected = glyph;
        if (mono_width >= 0 && found != after.encoded.end() && found->second.dwidth == mono_width)
            expected.dwidth = mono_width;
        std::string why = found == after.encoded.end() ? "lost" : glyph_difference(expected, found->second);
        if (!why.empty() && reported++ < 5)
            problems += "\n  encoding " + std::to_string(encoding) + ": " + why;
    }
    if (after.encoded.size() != before.encoded.size() || reported > 5)
        problems += "\n  " + std::to_string(before.encoded.size()) + " encoded glyphs became " +
                    std::to_string(after.encoded.size()) + ", " + std::to_string(reported) + " differ";
    return problems;
}

class Corpus : public testing::TestWithParam<int> {};

TEST_P(Corpus, LoadsNormalisesToAFixedPointAndSurvivesBdftopcfAndPcf2bdf) {
    std::vector<fs::path> fonts = fs::is_directory(corpus_dir) ? corpus_fonts() : std::vector<fs::path>{};
    if (fonts.empty())
        GTEST_SKIP() << "no fonts at " << corpus_dir << ": run scripts/corpus to convert the X11 fonts";

    // Thousands of files are written and read back here: in memory they cost least.
    temp_dir dir(fs::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "");
    ASSERT_LT((size_t)GetParam(), fonts.size());
    for (size_t i = (size_t)GetParam(); i < fonts.size(); i += SHARDS)
        EXPECT_EQ(check_font(fonts[i], dir), "") << fonts[i].filename().string();
}

INSTANTIATE_TEST_SUITE_P(Shards, Corpus, testing::Range(0, SHARDS));

} // namespace
