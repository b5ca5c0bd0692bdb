// Files that declare absurd sizes must load, and be written back, within a
// small address-space limit and in proportion to their size. The files are
// generated here: they are too big to keep in the repository.

#include "cli_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr uint64_t MiB = 1024 * 1024;

// Sanitizers reserve terabytes of address space and double the memory in use:
// under them only the absence of crashes, reports and leaks is checked.
#ifdef GLYPHWERK_SANITIZED
constexpr bool measure_memory = false;
#else
constexpr bool measure_memory = true;
#endif

const char header[] = "STARTFONT 2.1\n"
                      "FONT -Glyphwerk-Hostile-Medium-R-Normal--8-80-75-75-P-50-ISO10646-1\n"
                      "SIZE 8 75 75\n"
                      "FONTBOUNDINGBOX 8 8 0 -2\n";
const char properties[] = "STARTPROPERTIES 2\nFONT_ASCENT 6\nFONT_DESCENT 2\nENDPROPERTIES\n";
const char small_glyph[] = "STARTCHAR A\nENCODING 65\nSWIDTH 600 0\nDWIDTH 5 0\nBBX 2 2 0 0\n"
                           "BITMAP\nC0\n40\nENDCHAR\n";

// Runs `check` and `normalize` on the file under a 256 MiB address-space limit
// and expects both to finish normally (check finding a font) with memory in proportion to the file.
void expect_bounded(const temp_dir &dir, const std::string &path) {
    const uint64_t file_size = fs::file_size(path);
    const uint64_t limit = measure_memory ? 256 * MiB : 0;
    // The program, the C++ runtime and the 64 KiB line buffer, plus the model:
    // a few times the text it came from.
    const uint64_t allowed_kib = (24 * MiB + 3 * file_size) / 1024;

    command_result check = run_cli({"check", path}, {.stdout_path = dir.file("messages.txt"), .address_limit = limit});
    EXPECT_EQ(check.signal, 0) << "check was killed by signal " << check.signal;
    EXPECT_TRUE(check.exit_status == 0 || check.exit_status == 1) << check.exit_status << check.err;
    command_result normalize = run_cli({"normalize", path, dir.file("out.bdf")}, {.address_limit = limit});
    EXPECT_EQ(normalize.signal, 0) << "normalize was killed by signal " << normalize.signal;
    EXPECT_EQ(normalize.exit_status, 0) << normalize.err;
    if (measure_memory) {
        EXPECT_LE((uint64_t)check.max_rss_kib, allowed_kib) << "check of a " << file_size << "-byte file";
        EXPECT_LE((uint64_t)normalize.max_rss_kib, allowed_kib) << "normalize of a " << file_size << "-byte file";
    }
}

} // namespace

TEST(HostileInput, HugeDeclaredCountsAreNotAllocatedUpFront) {
    temp_dir dir;
    write_file(dir.file("f.bdf"), std::string(header) + properties + "CHARS 4000000000\n" + small_glyph + "ENDFONT\n");
    expect_bounded(dir, dir.file("f.bdf"));
    EXPECT_NE(read_file(dir.file("messages.txt")).find("Incorrect glyph count: 4000000000 indicated but 1 found."),
              std::string::npos);
    EXPECT_NE(read_file(dir.file("out.bdf")).find("\nCHARS 1\n"), std::string::npos);

    write_file(dir.file("f.bdf"), std::string(header) + "STARTPROPERTIES 4294967295\nFONT_ASCENT 6\nFONT_DESCENT 2\n"
                                      "ENDPROPERTIES\nCHARS 1\n" + small_glyph + "ENDFONT\n");
    expect_bounded(dir, dir.file("f.bdf"));
    EXPECT_NE(read_file(dir.file("out.bdf")).find("\nSTARTPROPERTIES 2\nFONT_ASCENT 6\nFONT_DESCENT 2\n"),
              std::string::npos);
}

TEST(HostileInput, HugeBoxesWithoutRowsCostNoMemory) {
    temp_dir dir;
    std::string text = std::string(header) + properties + "CHARS 200\n";
    for (int i = 0; i < 200; ++i)
        text += "STARTCHAR big" + std::to_string(i) + "\nENCODING " + std::to_string(i) +
                "\nSWIDTH 0 0\nDWIDTH 8 0\nBBX 65535 65535 0 0\nBITMAP\nENDCHAR\n";
    text += "ENDFONT\n";
    write_file(dir.file("f.bdf"), text);
    expect_bounded(dir, dir.file("f.bdf"));
}

TEST(HostileInput, AMillionEmptyGlyphs) {
    temp_dir dir;
    {
        std::ofstream out(dir.file("f.bdf"), std::ios::binary);
        out << header << properties << "CHARS 1000000\n";
        for (int i = 0; i < 1000000; ++i)
            out << "STARTCHAR g" << i << "\nENCODING " << i << "\nSWIDTH 0 0\nDWIDTH 0 0\nBBX 0 0 0 0\nBITMAP\nENDCHAR\n";
        out << "ENDFONT\n";
    }
    expect_bounded(dir, dir.file("f.bdf"));
}

TEST(HostileInput, TenMegabyteLines) {
    temp_dir dir;
    // Written piece by piece: the child's peak memory counts the pages it
    // shared with this process before exec, so this process stays small.
    auto write_case = [&](const std::string &before, char fill, const std::string &after) {
        std::ofstream out(dir.file("f.bdf"), std::ios::binary | std::ios::trunc);
        out << header << before;
        const std::string chunk(65536, fill);
        for (uint64_t written = 0; written < 10 * MiB; written += chunk.size())
            out << chunk;
        out << after << "ENDFONT\n";
    };
    const std::string glyph_start = "CHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 600 0\nDWIDTH 5 0\nBBX 2 2 0 0\nBITMAP\n";
    struct { std::string before; char fill; std::string after; } cases[] = {
        {"COMMENT ", 'x', "\n" + std::string(properties) + "CHARS 1\n" + small_glyph},
        {"STARTPROPERTIES 3\nNOTICE \"", 'x',
         "\"\nFONT_ASCENT 6\nFONT_DESCENT 2\nENDPROPERTIES\nCHARS 1\n" + std::string(small_glyph)},
        {std::string(properties) + "CHARS 1\nSTARTCHAR ", 'x', std::string(small_glyph).substr(11)},
        {std::string(properties) + glyph_start + "C0", '0', "\n40\nENDCHAR\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.before);
        write_case(c.before, c.fill, c.after);
        expect_bounded(dir, dir.file("f.bdf"));
    }
}
