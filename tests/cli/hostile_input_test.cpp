// Files declaring absurd sizes load and are written back within a small
// address-space limit, in proportion to their size (generated: too big to keep).

#include "cli_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

constexpr uint64_t MiB = 1024 * 1024;

// Sanitizers reserve terabytes of address space and double the memory in use:
// under them only the absence of crashes, reports and leaks is checked.
#ifdef GLYPHWERK_SANITIZED
constexpr bool measure_memory = false;
#else
constexpr bool measure_memory = true;
#endif

const std::string header = "STARTFONT 2.1\nFONT -Glyphwerk-Hostile-Medium-R-Normal--8-80-75-75-P-50-ISO10646-1\n"
                           "SIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 -2\n";
const std::string properties = "STARTPROPERTIES 2\nFONT_ASCENT 6\nFONT_DESCENT 2\nENDPROPERTIES\n";
const std::string small_glyph = "STARTCHAR A\nENCODING 65\nSWIDTH 600 0\nDWIDTH 5 0\nBBX 2 2 0 0\nBITMAP\nC0\n40\nENDCHAR\n";

// check's messages and the normalised text of the file `write` makes, both
// run under a 256 MiB address-space limit.
std::pair<std::string, std::string> bounded(const std::function<void(std::ostream &)> &write) {
    temp_dir dir;
    {
        std::ofstream file(dir.file("f.bdf"), std::ios::binary);
        write(file);
    }
    const uint64_t size = std::filesystem::file_size(dir.file("f.bdf"));
    // The program, its runtime and line buffer, plus a model a few times the text.
    const long allowed_kib = measure_memory ? (long)((24 * MiB + 3 * size) / 1024) : 1L << 40;
    const command_options limited = {.address_limit = measure_memory ? 256 * MiB : 0};
    command_result check = run_cli({"check", dir.file("f.bdf")}, limited);
    command_result normalize = run_cli({"normalize", dir.file("f.bdf"), dir.file("out.bdf")}, limited);
    EXPECT_TRUE(check.exit_status == 0 || check.exit_status == 1) << check.signal << check.err;
    EXPECT_EQ(normalize.exit_status, 0) << normalize.signal << normalize.err;
    EXPECT_LE(std::max(check.max_rss_kib, normalize.max_rss_kib), allowed_kib) << "a " << size << "-byte file";
    return {check.out, read_file(dir.file("out.bdf"))};
}

} // namespace

TEST(HostileInput, HugeDeclaredCountsAndBoxesCostNoMemoryAndLongLinesOnlyTheirLength) {
    auto [messages, out] = bounded([](std::ostream &f) {
        f << header << properties << "CHARS 4000000000\n" << small_glyph << "ENDFONT\n";
    });
    EXPECT_NE(messages.find("Incorrect glyph count: 4000000000 indicated but 1 found.\n"), std::string::npos);
    EXPECT_NE(out.find("\nCHARS 1\n"), std::string::npos);
    out = bounded([](std::ostream &f) {
              f << header << "STARTPROPERTIES 4294967295\nFONT_ASCENT 6\nFONT_DESCENT 2\nENDPROPERTIES\nCHARS 1\n"
                << small_glyph << "ENDFONT\n";
          }).second;
    EXPECT_NE(out.find("\nSTARTPROPERTIES 2\nFONT_ASCENT 6\nFONT_DESCENT 2\n"), std::string::npos);
    bounded([](std::ostream &f) {
        f << header << properties << "CHARS 200\n";
        for (int i = 0; i < 200; ++i)
            f << "STARTCHAR big" << i << "\nENCODING " << i << "\nSWIDTH 0 0\nDWIDTH 8 0\nBBX 65535 65535 0 0\nBITMAP\nENDCHAR\n";
        f << "ENDFONT\n";
    });
    // A character-cell font whose cell is huge but that has no glyph to pad.
    const std::string cell = read_file(data_file("cell-font-huge-box-no-glyph.bdf"));
    EXPECT_EQ(bounded([&](std::ostream &f) { f << cell; }).second, cell);
    // A 10 MiB comment, read whole, written piece by piece.
    out = bounded([](std::ostream &f) {
        f << header << "COMMENT ";
        for (int i = 0; i < 160; ++i)
            f << std::string(65536, 'x');
        f << "\n" << properties << "CHARS 1\n" << small_glyph << "ENDFONT\n";
    }).second;
    EXPECT_EQ(out.find('\n', out.find("COMMENT x")), out.find("COMMENT x") + 8 + 10 * MiB);
}
