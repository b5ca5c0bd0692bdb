// Files that declare absurd sizes must load, and be written back, within a
// small address-space limit and in proportion to their size. The files are
// generated here: they are too big to keep in the repository.

#include "cli_test_support.h"

#include <gtest/gtest.h>

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

// `repeat` times `fill` between `before` and `after`, written piece by piece:
// the child's peak memory counts the pages it shared with this process before
// exec, so this process stays small.
std::function<void(std::ostream &)> repeated(const std::string &before, const std::function<std::string(int)> &fill,
                                             int repeat, const std::string &after) {
    return [=](std::ostream &f) {
        f << header << before;
        for (int i = 0; i < repeat; ++i)
            f << fill(i);
        f << after << "ENDFONT\n";
    };
}

} // namespace

// check and normalize on each file under a 256 MiB address-space limit: both
// finish normally, with memory in proportion to the file.
TEST(HostileInput, HugeDeclaredSizesManyGlyphsAndTenMegabyteLinesCostMemoryInProportionToTheFile) {
    const std::string cell = read_file(data_file("cell-font-huge-box-no-glyph.bdf"));
    const std::string zeros(65536, '0'), xs(65536, 'x');
    auto chunks = [](const std::string &chunk) { return [chunk](int) { return chunk; }; };
    struct {
        std::function<void(std::ostream &)> write;
        std::string message, out; // found in check's output and the normalised text
    } cases[] = {
        {repeated(properties + "CHARS 4000000000\n", chunks(small_glyph), 1, ""),
         "Incorrect glyph count: 4000000000 indicated but 1 found.\n", "\nCHARS 1\n"},
        {repeated("STARTPROPERTIES 4294967295\nFONT_ASCENT 6\nFONT_DESCENT 2\nENDPROPERTIES\nCHARS 1\n",
                  chunks(small_glyph), 1, ""),
         "", "\nSTARTPROPERTIES 2\nFONT_ASCENT 6\nFONT_DESCENT 2\n"},
        {repeated(properties + "CHARS 200\n", [](int i) {
             return "STARTCHAR big" + std::to_string(i) + "\nENCODING " + std::to_string(i) +
                    "\nSWIDTH 0 0\nDWIDTH 8 0\nBBX 65535 65535 0 0\nBITMAP\nENDCHAR\n";
         }, 200, ""), "", ""},
        // A character-cell font whose cell is huge but that has no glyph to pad.
        {[&](std::ostream &f) { f << cell; }, "", cell},
        {repeated(properties + "CHARS 1000000\n", [](int i) {
             return "STARTCHAR g" + std::to_string(i) + "\nENCODING " + std::to_string(i) +
                    "\nSWIDTH 0 0\nDWIDTH 0 0\nBBX 0 0 0 0\nBITMAP\nENDCHAR\n";
         }, 1000000, ""), "", ""},
        {repeated("COMMENT ", chunks(xs), 160, "\n" + properties + "CHARS 1\n" + small_glyph), "", ""},
        {repeated("STARTPROPERTIES 3\nNOTICE \"", chunks(xs), 160,
                  "\"\nFONT_ASCENT 6\nFONT_DESCENT 2\nENDPROPERTIES\nCHARS 1\n" + small_glyph), "", ""},
        {repeated(properties + "CHARS 1\nSTARTCHAR ", chunks(xs), 160, small_glyph.substr(11)), "", ""},
        {repeated(properties + "CHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 600 0\nDWIDTH 5 0\nBBX 2 2 0 0\nBITMAP\nC0",
                  chunks(zeros), 160, "\n40\nENDCHAR\n"), "", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        temp_dir dir;
        {
            std::ofstream file(dir.file("f.bdf"), std::ios::binary);
            cases[i].write(file);
        }
        const uint64_t size = std::filesystem::file_size(dir.file("f.bdf"));
        // The program, the C++ runtime and the 64 KiB line buffer, plus the
        // model: a few times the text it came from.
        const long allowed_kib = measure_memory ? (long)((24 * MiB + 3 * size) / 1024) : 1L << 40;
        const command_options limited = {.address_limit = measure_memory ? 256 * MiB : 0};
        command_result check = run_cli({"check", dir.file("f.bdf")}, limited);
        command_result normalize = run_cli({"normalize", dir.file("f.bdf"), dir.file("out.bdf")}, limited);
        EXPECT_TRUE(check.exit_status == 0 || check.exit_status == 1) << check.signal << check.err;
        EXPECT_EQ(normalize.exit_status, 0) << normalize.signal << normalize.err;
        EXPECT_LE(check.max_rss_kib, allowed_kib) << "check of a " << size << "-byte file";
        EXPECT_LE(normalize.max_rss_kib, allowed_kib) << "normalize of a " << size << "-byte file";
        EXPECT_NE(check.out.find(cases[i].message), std::string::npos);
        EXPECT_NE(read_file(dir.file("out.bdf")).find(cases[i].out), std::string::npos);
    }
}
