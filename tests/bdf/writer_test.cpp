// The writer: exact output lines, glyph normalisation, unencoded glyphs and
// the atomic path save.

#include "bdf.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using FontPtr = Font;

namespace {
FontPtr load_text(const std::string &text) { return load_stream(text); }
} // namespace

namespace {

const char *const kHeader = "STARTFONT 2.1\n"
                            "FONT -Misc-Fixed-Medium-R-Normal--10-100-75-75-P-60-ISO10646-1\n"
                            "SIZE 10 75 75\n"
                            "FONTBOUNDINGBOX 10 10 0 -2\n"
                            "STARTPROPERTIES 2\n"
                            "FONT_ASCENT 8\n"
                            "FONT_DESCENT 2\n"
                            "ENDPROPERTIES\n";

std::string font_with(const std::string &glyphs, int chars) {
    return std::string(kHeader) + "CHARS " + std::to_string(chars) + "\n" + glyphs + "ENDFONT\n";
}

// The glyph block from STARTCHAR to ENDCHAR of the glyph named `name`.
std::string glyph_block(const std::string &bdf, const std::string &name) {
    size_t start = bdf.find("STARTCHAR " + name + "\n");
    if (start == std::string::npos)
        return "";
    size_t end = bdf.find("ENDCHAR\n", start);
    return bdf.substr(start, end + 8 - start);
}

} // namespace

TEST(Writer, HeaderCommentsAndPropertiesAreWrittenExactly) {
    FontPtr font = load_text("COMMENT before the font is not kept\n"
                             "STARTFONT 2.2\n"
                             "COMMENT first\n"
                             "COMMENT\n"
                             "COMMENT third  line\n"
                             "FONT -Misc-Fixed-Medium-R-Normal--10-100-75-75-C-60-ISO10646-1\n"
                             "SIZE 10 75 75\n"
                             "FONTBOUNDINGBOX 6 10 0 -2\n"
                             "STARTPROPERTIES 7\n"
                             "FOUNDRY \"Misc\"\n"
                             "FAMILY_NAME \"\"\n"
                             "COMMENT inside the block\n"
                             "COMMENT\n"
                             "FONT_ASCENT 8\n"
                             "FONT_DESCENT 2\n"
                             "DEFAULT_CHAR 4294967295\n"
                             "QUAD_WIDTH -6\n"
                             "ENDPROPERTIES\n"
                             "CHARS 0\n"
                             "ENDFONT\n");
    ASSERT_TRUE(font);
    EXPECT_EQ(save_text(font.get()),
              "STARTFONT 2.1\n"
              "COMMENT first\n"
              "COMMENT \n"
              "COMMENT third  line\n"
              "FONT -Misc-Fixed-Medium-R-Normal--10-100-75-75-C-60-ISO10646-1\n"
              "SIZE 10 75 75\n"
              "FONTBOUNDINGBOX 6 10 0 -2\n"
              "STARTPROPERTIES 6\n"
              "FOUNDRY \"Misc\"\n"
              "FAMILY_NAME \"\"\n"
              "COMMENT inside the block\n"
              "COMMENT \n"
              "FONT_ASCENT 8\n"
              "FONT_DESCENT 2\n"
              "DEFAULT_CHAR 4294967295\n"
              "QUAD_WIDTH -6\n"
              "ENDPROPERTIES\n"
              "CHARS 0\n"
              "ENDFONT\n");
}

TEST(Writer, CommentsOfThePropertyBlockReadBackUnchanged) {
    FontPtr font = load_text(font_with("", 0).insert(std::string(kHeader).find("FONT_ASCENT"),
                                                     "COMMENT \"quoted\" text\n"));
    ASSERT_TRUE(font);
    std::string once = save_text(font.get());
    FontPtr again = load_text(once);
    ASSERT_TRUE(again);
    EXPECT_EQ(save_text(again.get()), once);
    EXPECT_NE(once.find("\nCOMMENT \"quoted\" text\n"), std::string::npos) << once;
}

TEST(Writer, GlyphLinesRowsAndNames) {
    std::string text = font_with("STARTCHAR unnamed\n"
                                 "ENCODING 65\n"
                                 "SWIDTH 600 0\n"
                                 "DWIDTH 10 0\n"
                                 "BBX 10 2 0 0\n"
                                 "BITMAP\n"
                                 "8040\n"
                                 "C0C0\n"
                                 "ENDCHAR\n"
                                 "STARTCHAR space\n"
                                 "ENCODING 32\n"
                                 "SWIDTH 600 0\n"
                                 "DWIDTH 6 0\n"
                                 "BBX 6 10 0 -2\n"
                                 "BITMAP\n"
                                 "00\n00\n00\n00\n00\n00\n00\n00\n00\n00\n"
                                 "ENDCHAR\n",
                                 2);
    FontPtr font = load_text(text);
    ASSERT_TRUE(font);
    ASSERT_EQ(font->glyphs_used, 2u);
    free(font->glyphs[1].name); // a glyph without a name is written as char<encoding>
    font->glyphs[1].name = nullptr;
    std::string out = save_text(font.get());
    EXPECT_EQ(glyph_block(out, "char65"), "STARTCHAR char65\n"
                                          "ENCODING 65\n"
                                          "SWIDTH 960 0\n"
                                          "DWIDTH 10 0\n"
                                          "BBX 10 2 0 0\n"
                                          "BITMAP\n"
                                          "8040\n"
                                          "C0C0\n"
                                          "ENDCHAR\n");
    // A glyph without ink: an all-zero box and no row line.
    EXPECT_EQ(glyph_block(out, "space"), "STARTCHAR space\n"
                                         "ENCODING 32\n"
                                         "SWIDTH 576 0\n"
                                         "DWIDTH 6 0\n"
                                         "BBX 0 0 0 0\n"
                                         "BITMAP\n"
                                         "ENDCHAR\n");
    // Encoded glyphs come out ascending.
    EXPECT_LT(out.find("ENCODING 32"), out.find("ENCODING 65"));
}

TEST(Writer, ProportionalGlyphsAreCroppedOnlyWhenTheRowSizeOrHeightChanges) {
    std::string text = font_with("STARTCHAR keep\n"
                                 "ENCODING 1\n"
                                 "SWIDTH 576 0\n"
                                 "DWIDTH 8 0\n"
                                 "BBX 8 3 0 0\n"
                                 "BITMAP\n"
                                 "20\n"
                                 "00\n"
                                 "04\n"
                                 "ENDCHAR\n"
                                 "STARTCHAR top\n"
                                 "ENCODING 2\n"
                                 "SWIDTH 576 0\n"
                                 "DWIDTH 8 0\n"
                                 "BBX 8 10 1 -2\n"
                                 "BITMAP\n"
                                 "18\n24\n18\n00\n00\n00\n00\n00\n00\n00\n"
                                 "ENDCHAR\n",
                                 2);
    FontPtr font = load_text(text);
    ASSERT_TRUE(font);
    std::string out = save_text(font.get());
    // Ink in columns 2 to 5 of the first and last row: the box stays.
    EXPECT_NE(glyph_block(out, "keep").find("BBX 8 3 0 0\nBITMAP\n20\n00\n04\n"), std::string::npos);
    // Ink only in the top 3 of 10 rows (ascent 8): height 3, ascent 8, descent -5.
    EXPECT_NE(glyph_block(out, "top").find("BBX 4 3 3 5\nBITMAP\n60\n90\n60\n"), std::string::npos)
        << glyph_block(out, "top");
    EXPECT_EQ(font->glyphs[1].bbx.ascent, 8);
    EXPECT_EQ(font->glyphs[1].bbx.descent, -5);
    EXPECT_EQ(font->glyphs[1].bytes, 3u);
}

TEST(Writer, MonospacedGlyphsTakeTheFontsCommonWidth) {
    std::string glyphs;
    for (int e = 0; e < 3; ++e)
        glyphs += "STARTCHAR g" + std::to_string(e) + "\nENCODING " + std::to_string(e) +
                  "\nSWIDTH 1 0\nDWIDTH " + (e == 2 ? "9" : "6") + " 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n";
    std::string text = font_with(glyphs, 3);
    text.replace(text.find("-P-60"), 5, "-M-60");
    FontPtr font = load_text(text);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->spacing, BDF_SPACING_MONO);
    EXPECT_EQ(font->monowidth, 6);
    std::string out = save_text(font.get());
    for (int e = 0; e < 3; ++e)
        EXPECT_NE(glyph_block(out, "g" + std::to_string(e)).find("SWIDTH 576 0\nDWIDTH 6 0\n"),
                  std::string::npos)
            << out;
}

TEST(Writer, CharacterCellGlyphsArePaddedToTheFontBoxAndClipped) {
    std::string text = "STARTFONT 2.1\n"
                       "FONT -Misc-Fixed-Medium-R-Normal--4-40-75-75-C-40-ISO10646-1\n"
                       "SIZE 4 75 75\n"
                       "FONTBOUNDINGBOX 4 4 0 -1\n"
                       "STARTPROPERTIES 0\n"
                       "ENDPROPERTIES\n"
                       "CHARS 2\n"
                       "STARTCHAR dot\n"
                       "ENCODING 46\n"
                       "SWIDTH 720 0\n"
                       "DWIDTH 4 0\n"
                       "BBX 1 1 1 0\n"
                       "BITMAP\n"
                       "80\n"
                       "ENDCHAR\n"
                       "STARTCHAR full\n"
                       "ENCODING 70\n"
                       "SWIDTH 720 0\n"
                       "DWIDTH 4 0\n"
                       "BBX 4 4 0 -1\n"
                       "BITMAP\n"
                       "F0\n90\n90\nF0\n"
                       "ENDCHAR\n"
                       "ENDFONT\n";
    FontPtr font = load_text(text);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->spacing, BDF_SPACING_CELL);
    std::string out = save_text(font.get());
    EXPECT_EQ(glyph_block(out, "dot"), "STARTCHAR dot\n"
                                       "ENCODING 46\n"
                                       "SWIDTH 960 0\n"
                                       "DWIDTH 4 0\n"
                                       "BBX 4 4 0 -1\n"
                                       "BITMAP\n"
                                       "00\n00\n40\n00\n"
                                       "ENDCHAR\n");
    EXPECT_NE(glyph_block(out, "full").find("BITMAP\nF0\n90\n90\nF0\n"), std::string::npos);
    // Only the written copy is padded: the glyph in memory keeps its box.
    EXPECT_EQ(font->glyphs[0].bbx.width, 1);

    // A glyph reaching outside the cell loses only what lies outside it.
    font->glyphs[0].bbx.x_offset = 3;
    font->glyphs[0].bbx.width = 3;
    font->glyphs[0].bbx.ascent = 2;
    free(font->glyphs[0].bitmap);
    font->glyphs[0].bitmap = (unsigned char *)malloc(1);
    font->glyphs[0].bitmap[0] = 0xE0;
    font->glyphs[0].bytes = 1;
    out = save_text(font.get());
    EXPECT_NE(glyph_block(out, "dot").find("BITMAP\n00\n10\n00\n00\n"), std::string::npos)
        << glyph_block(out, "dot");
}

TEST(Writer, TwoBitGlyphsKeepTheirDepthAndLevels) {
    std::string text = "STARTFONT 2.1\n"
                       "FONT two\n"
                       "SIZE 8 75 75 2\n"
                       "FONTBOUNDINGBOX 5 2 0 0\n"
                       "STARTPROPERTIES 0\n"
                       "ENDPROPERTIES\n"
                       "CHARS 1\n"
                       "STARTCHAR grey\n"
                       "ENCODING 1\n"
                       "SWIDTH 0 0\n"
                       "DWIDTH 5 0\n"
                       "BBX 5 2 0 0\n"
                       "BITMAP\n"
                       "0E40\n"  // pixels 0 0 3 2 1
                       "0000\n"
                       "ENDCHAR\n"
                       "ENDFONT\n";
    FontPtr font = load_text(text);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->bpp, 2);
    std::string out = save_text(font.get());
    EXPECT_NE(out.find("SIZE 8 75 75 2\n"), std::string::npos);
    // Cropped to columns 2 to 4 of the first row: 3 pixels, one byte per row.
    EXPECT_NE(glyph_block(out, "grey").find("BBX 3 1 2 1\nBITMAP\nE4\n"), std::string::npos)
        << glyph_block(out, "grey");
    // Reading the saved font corrects its box to the cropped glyph; from
    // there on saving reaches a fixed point.
    FontPtr again = load_text(out);
    ASSERT_TRUE(again);
    std::string second = save_text(again.get());
    EXPECT_NE(second.find("FONTBOUNDINGBOX 3 2 2 0\n"), std::string::npos) << second;
    FontPtr third = load_text(second);
    ASSERT_TRUE(third);
    EXPECT_EQ(save_text(third.get()), second);
}

TEST(Writer, UnencodedGlyphsAreWrittenAfterTheEncodedOnes) {
    std::string text = font_with("STARTCHAR lonely\n"
                                 "ENCODING -1\n"
                                 "SWIDTH 576 0\n"
                                 "DWIDTH 8 0\n"
                                 "BBX 1 1 0 0\n"
                                 "BITMAP\n"
                                 "80\n"
                                 "ENDCHAR\n"
                                 "STARTCHAR A\n"
                                 "ENCODING 65\n"
                                 "SWIDTH 576 0\n"
                                 "DWIDTH 8 0\n"
                                 "BBX 1 1 0 0\n"
                                 "BITMAP\n"
                                 "80\n"
                                 "ENDCHAR\n"
                                 "STARTCHAR again\n"
                                 "ENCODING 65\n"
                                 "SWIDTH 576 0\n"
                                 "DWIDTH 8 0\n"
                                 "BBX 1 1 0 0\n"
                                 "BITMAP\n"
                                 "80\n"
                                 "ENDCHAR\n",
                                 3);
    FontPtr font = load_text(text);
    ASSERT_TRUE(font);
    ASSERT_EQ(font->unencoded_used, 2u);
    free(font->unencoded[1].name);
    font->unencoded[1].name = nullptr;
    std::string out = save_text(font.get());
    EXPECT_NE(out.find("CHARS 3\n"), std::string::npos);
    size_t a = out.find("STARTCHAR A\nENCODING 65\n");
    size_t lonely = out.find("STARTCHAR lonely\nENCODING -1\n");
    size_t unnamed = out.find("STARTCHAR char1\nENCODING -1\n");
    ASSERT_NE(a, std::string::npos) << out;
    ASSERT_NE(lonely, std::string::npos) << out;
    ASSERT_NE(unnamed, std::string::npos) << out;
    EXPECT_LT(a, lonely);
    EXPECT_LT(lonely, unnamed);

    FontPtr again = load_text(out);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->glyphs_used, 1u);
    EXPECT_EQ(again->unencoded_used, 2u);
    EXPECT_EQ(again->messages_len, 0u) << again->messages;
}

TEST(Writer, ProgressLineEndsAndNullNames) {
    FontPtr font = load_text(font_with("STARTCHAR A\nENCODING 65\nSWIDTH 576 0\nDWIDTH 8 0\n"
                                       "BBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n"
                                       "STARTCHAR B\nENCODING 66\nSWIDTH 576 0\nDWIDTH 8 0\n"
                                       "BBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n",
                                       2));
    ASSERT_TRUE(font);
    std::vector<bdf_progress> seen;
    bdf_options options;
    bdf_default_options(&options);
    options.eol = BDF_EOL_CRLF;
    free(font->name);
    font->name = nullptr;
    std::string out = save_text(
        font.get(), &options,
        [](bdf_progress *p, void *data) { static_cast<std::vector<bdf_progress> *>(data)->push_back(*p); },
        &seen);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].reason, 3);
    EXPECT_EQ(seen[0].current, 0u);
    EXPECT_EQ(seen[0].total, 2u);
    EXPECT_EQ(seen[1].reason, 4);
    EXPECT_EQ(seen[1].current, 1u);
    EXPECT_EQ(seen[2].current, 2u);
    EXPECT_EQ(seen[3].reason, 4);
    EXPECT_EQ(seen[3].current, 2u);
    EXPECT_EQ(out.substr(0, 22), "STARTFONT 2.1\r\nFONT \r\n");
    EXPECT_EQ(out.substr(out.size() - 18), "ENDCHAR\r\nENDFONT\r\n");
    EXPECT_EQ(out.find("\n\n"), std::string::npos);
    EXPECT_EQ(bdf_save_font(nullptr, font.get(), nullptr, nullptr, nullptr), 0);
}

// Both path savers, the one that waits for the disk and the one that does not,
// must replace files in the same way.
using PathSaver = int (*)(const char *, bdf_font *);

class SaveToPath : public ::testing::TestWithParam<PathSaver> {
protected:
    int save(const char *path, bdf_font *saved) const { return GetParam()(path, saved); }

    void SetUp() override {
        dir = fs::temp_directory_path() / ("glyphwerk-writer-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        font = load_text(font_with("STARTCHAR A\nENCODING 65\nSWIDTH 576 0\nDWIDTH 8 0\n"
                                   "BBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n",
                                   1));
        ASSERT_TRUE(font);
        expected = save_text(font.get());
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    static std::string read(const fs::path &p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    size_t entries() const { return (size_t)std::distance(fs::directory_iterator(dir), {}); }

    fs::path dir;
    FontPtr font;
    std::string expected;
};

TEST_P(SaveToPath, WritesTheFileAndReplacesAnOldOne) {
    fs::path target = dir / "font.bdf";
    {
        std::ofstream(target) << "old contents that are longer than the new font file will ever be";
    }
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(save(target.c_str(), font.get()), 1);
    EXPECT_EQ(read(target), expected);
    EXPECT_EQ(entries(), 1u);
    // The replaced file's permissions are kept.
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Through a symbolic link: the link stays and the file behind it changes.
    fs::path link = dir / "link.bdf";
    fs::create_symlink(target, link);
    fs::remove(target);
    { std::ofstream(target) << "x"; }
    EXPECT_EQ(save(link.c_str(), font.get()), 1);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read(target), expected);
}

TEST_P(SaveToPath, AFailedSaveReportsItAndLeavesTheOldFileAlone) {
    EXPECT_EQ(save(nullptr, font.get()), 0);
    EXPECT_EQ(save((dir / "x.bdf").c_str(), nullptr), 0);
    EXPECT_EQ(save((dir / "missing" / "x.bdf").c_str(), font.get()), 0);

    fs::path target = dir / "font.bdf";
    { std::ofstream(target) << "old"; }
    if (geteuid() != 0) {
        // A folder the user may not write to: no temporary file can be made.
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(save(target.c_str(), font.get()), 0);
        fs::permissions(dir, fs::perms::owner_all);
        EXPECT_EQ(read(target), "old");
    }
    // A write that fails half-way (the file size limit stands in for a full
    // disk): the old file stays and no temporary file is left behind.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(save(target.c_str(), font.get()) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must report the failed write";
    EXPECT_EQ(read(target), "old");
    EXPECT_EQ(entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Writer, SaveToPath,
                         ::testing::Values(&bdf_save_font_path, &bdf_save_font_path_unsynced),
                         [](const auto &info) { return info.index == 0 ? "Synced" : "Unsynced"; });
