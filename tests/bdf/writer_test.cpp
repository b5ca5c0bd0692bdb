/* The writer: exact lines, glyph normalisation, metrics after edits, the atomic path save. */
#include "metrics.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

/* 10 pt at 75 dpi: SWIDTH is 96 per pixel of DWIDTH. */
std::string font_with(const std::string &glyphs, int chars, const std::string &props = "") {
    return font_text(glyphs, chars,
                     header(props + "FONT_ASCENT 8\nFONT_DESCENT 2\n", props.empty() ? 2 : 3, "10 75 75", "10 10 0 -2"));
}

std::string dot(const std::string &name, int encoding, int dwidth = 8) { return glyph(name, encoding, "1 1 0 0", "80\n", dwidth); }

/* A character-cell font with a 4x4 cell. */
std::string cell_font() {
    return font_text(glyph("dot", 46, "1 1 1 0", "80\n", 4) + glyph("full", 70, "4 4 0 -1", "F0\n90\n90\nF0\n", 4), 2,
                     header("SPACING \"C\"\n", 1, "4 75 75", "4 4 0 -1"));
}

std::string glyph_block(const std::string &bdf, const std::string &name) {
    size_t start = bdf.find("STARTCHAR " + name + "\n");
    return start == std::string::npos ? "" : bdf.substr(start, bdf.find("ENDCHAR\n", start) + 8 - start);
}

TEST(Writer, FontsAreWrittenExactlyEncodedGlyphsFirstAndNoInkAsAnEmptyBox) {
    FontPtr font = load_font("COMMENT before the font is not kept\nSTARTFONT 2.2\nCOMMENT first\nCOMMENT\n"
                             "COMMENT third  line\nFONT -Misc-Fixed-Medium-R-Normal--10-100-75-75-P-60-ISO10646-1\n"
                             "SIZE 16 75 75\nFONTBOUNDINGBOX 10 2 0 0\nSTARTPROPERTIES 7\n"
                             "FOUNDRY \"Misc\"\nFAMILY_NAME \"\"\nCOMMENT inside the block\nCOMMENT\n"
                             "COMMENT \"quoted\" text\nFONT_ASCENT 2\nFONT_DESCENT 0\nDEFAULT_CHAR 4294967295\n"
                             "QUAD_WIDTH -6\nENDPROPERTIES\nCHARS 4\n" +
                             glyph("unnamed", 65, "10 2 0 0", "8040\nC0C0\n", 10) +
                             glyph("space", 32, "6 2 0 0", rows(2), 6) + dot("lonely", -1) + dot("again", 65) +
                             "ENDFONT\n");
    ASSERT_EQ(messages(font), "Duplicate encoding 65 (again) changed to unencoded.\n");
    for (bdf_glyph *g : {&font->glyphs[1], &font->unencoded[1]}) /* no name: written as char<encoding> */
        free(g->name), g->name = nullptr;
    std::string once = save_text(font.get());
    EXPECT_EQ(once, "STARTFONT 2.1\nCOMMENT first\nCOMMENT \nCOMMENT third  line\n"
                    "FONT -Misc-Fixed-Medium-R-Normal--10-100-75-75-P-60-ISO10646-1\n"
                    "SIZE 16 75 75\nFONTBOUNDINGBOX 10 2 0 0\nSTARTPROPERTIES 6\n"
                    "FOUNDRY \"Misc\"\nFAMILY_NAME \"\"\nCOMMENT inside the block\nCOMMENT \n"
                    "COMMENT \"quoted\" text\nFONT_ASCENT 2\nFONT_DESCENT 0\nDEFAULT_CHAR 4294967295\n"
                    "QUAD_WIDTH -6\nENDPROPERTIES\nCHARS 4\n"
                    "STARTCHAR space\nENCODING 32\nSWIDTH 360 0\nDWIDTH 6 0\nBBX 0 0 0 0\nBITMAP\nENDCHAR\n"
                    "STARTCHAR char65\nENCODING 65\nSWIDTH 600 0\nDWIDTH 10 0\nBBX 10 2 0 0\nBITMAP\n8040\nC0C0\n"
                    "ENDCHAR\nSTARTCHAR lonely\nENCODING -1\nSWIDTH 480 0\nDWIDTH 8 0\nBBX 1 1 0 0\nBITMAP\n80\n"
                    "ENDCHAR\nSTARTCHAR char1\nENCODING -1\nSWIDTH 480 0\nDWIDTH 8 0\nBBX 1 1 0 0\nBITMAP\n80\n"
                    "ENDCHAR\nENDFONT\n");
    FontPtr again = load_font(once);
    EXPECT_EQ(messages(again), "");
    EXPECT_EQ(names(again->unencoded, again->unencoded_used), (Names{"lonely 0", "char1 1"}));
    EXPECT_EQ(save_text(again.get()), once);
    EXPECT_EQ(bdf_save_font(nullptr, font.get(), nullptr, nullptr, nullptr), 0);
}

/* Cropping itself is shown by the command's round trips. */
TEST(Writer, MonospacedGlyphsTakeTheMostCommonWidthTheSmallerOnATieUnencodedOnesCounted) {
    FontPtr mono = load_font(font_with(dot("g0", 0, 9) + dot("g1", 1, 6) + dot("g2", 2, 9) + dot("g3", -1, 6), 4,
                                       "SPACING \"M\"\n"));
    EXPECT_EQ(mono->monowidth, 6);
    const std::string out = save_text(mono.get());
    for (const char *name : {"g0", "g1", "g2", "g3"})
        EXPECT_NE(glyph_block(out, name).find("SWIDTH 576 0\nDWIDTH 6 0\n"), std::string::npos) << out;
}

TEST(Writer, CharacterCellGlyphsArePaddedToTheFontBoxAndClipped) {
    FontPtr font = load_font(cell_font());
    EXPECT_EQ(glyph_block(save_text(font.get()), "dot"), "STARTCHAR dot\nENCODING 46\nSWIDTH 960 0\nDWIDTH 4 0\n"
                                                         "BBX 4 4 0 -1\nBITMAP\n00\n00\n40\n00\nENDCHAR\n");
    EXPECT_EQ(font->glyphs[0].bbx.width, 1); /* only the written copy is padded */
    /* A glyph reaching outside the cell loses only what lies outside it. */
    bdf_glyph &g = font->glyphs[0];
    g.bbx.x_offset = 3;
    g.bbx.width = 3;
    g.bbx.ascent = 2;
    g.bitmap[0] = 0xE0;
    EXPECT_NE(glyph_block(save_text(font.get()), "dot").find("BITMAP\n00\n10\n00\n00\n"), std::string::npos);
    /* Ink moved one pixel right across a byte boundary of the cell row. */
    FontPtr wide = load_font(font_text(glyph("left", 1, "1 1 0 0", "80\n", 9) + glyph("wide", 2, "8 1 1 0", "01\n", 9), 2,
                                       header("SPACING \"C\"\n", 1, "9 75 75", "9 1 0 0")));
    EXPECT_NE(glyph_block(save_text(wide.get()), "wide").find("BITMAP\n0080\n"), std::string::npos);
}

/* The program edits glyphs in memory, then derives the metrics the reader
 * would: the font saved after any such edit reads back without a message. */
TEST(Writer, FontsEditedInMemoryReadBackCleanOnceTheirMetricsAreUpdated) {
    auto expect_clean = [](bdf_font *font, int changed, const Box &expected) {
        EXPECT_EQ(bdf_update_metrics(font, nullptr), changed);
        EXPECT_EQ(box(font->bbx), expected);
        std::string text = save_text(font);
        FontPtr back = load_font(text);
        EXPECT_EQ(messages(back), "") << text;
        EXPECT_EQ(box(back->bbx), expected);
        return text;
    };
    auto set = [](bdf_glyph &g, const Box &b, std::vector<uint8_t> rows) {
        g.bbx = {uint16_t(b[0]), uint16_t(b[1]), int16_t(b[2]), int16_t(b[3]), int16_t(b[4]), int16_t(b[5])};
        g.bitmap = (unsigned char *)realloc(g.bitmap, g.bytes = (uint32_t)rows.size());
        memcpy(g.bitmap, rows.data(), g.bytes);
    };
    FontPtr font = load_font(font_text(glyph("a", 97, "3 3 1 0", "E0\nA0\nE0\n") +
                                           glyph("b", 98, "10 10 0 -2", "FFC0\n" + rows(8, "0000") + "8000\n") +
                                           glyph("u", -1, "1 1 0 0", "80\n"),
                                       3, header("FONT_ASCENT 0\nFONT_DESCENT 0\n", 2, "16 75 75", "10 10 0 -2")));
    ASSERT_EQ(messages(font), "");
    expect_clean(font.get(), 0, {10, 10, 0, -2, 8, 2});
    /* The glyph that reached every edge keeps one pixel: the box shrinks, and
     * a new device width takes its scalable width along. */
    bdf_glyph &b = font->glyphs[1];
    memset(b.bitmap, 0, b.bytes);
    b.bitmap[0] = 0x80;
    b.dwidth = 5;
    std::string text = expect_clean(font.get(), 1, {4, 8, 0, 0, 8, 0});
    EXPECT_EQ(glyph_block(text, "b"), "STARTCHAR b\nENCODING 98\nSWIDTH 300 0\nDWIDTH 5 0\n"
                                      "BBX 1 1 0 7\nBITMAP\n80\nENDCHAR\n");
    /* Ink moved left of the origin and below the baseline grows it. */
    set(font->glyphs[0], {3, 3, -2, -3, 0, 3}, {0xE0, 0xA0, 0xE0});
    expect_clean(font.get(), 1, {3, 11, -2, -3, 8, 3});
    /* A glyph left without ink is saved with an all-zero box, wherever its
     * box was; an unencoded glyph counts like any other. */
    set(font->glyphs[0], {3, 3, -2, -3, 0, 3}, {0, 0, 0});
    set(font->unencoded[0], {1, 1, 5, 0, 1, 0}, {0x80});
    expect_clean(font.get(), 1, {6, 8, 0, 0, 8, 0});
    /* Character cells are written with the font box, which spans the glyph boxes as they are. */
    FontPtr cells = load_font(cell_font());
    set(cells->glyphs[1], {2, 2, 0, 0, 2, 0}, {0xC0, 0xC0});
    text = expect_clean(cells.get(), 1, {2, 2, 0, 0, 2, 0});
    EXPECT_EQ(glyph_block(text, "dot"), "STARTCHAR dot\nENCODING 46\nSWIDTH 960 0\nDWIDTH 4 0\n"
                                        "BBX 2 2 0 0\nBITMAP\n00\n40\nENDCHAR\n");
}

/* Both path savers, the one that waits for the disk and the one that does not,
 * must replace files in the same way. Each save runs in a child, where the
 * last case's file size limit stands in for a full disk. */
TEST(Writer, SavingToAPathReplacesTheFileOrLinkTargetKeepingItsModeAndLeavesItAloneOnFailure) {
    FontPtr font = load_font(font_with(dot("A", 65), 1));
    const std::string expected = save_text(font.get()), old = "old contents longer than the new font file will ever be";
    const fs::path dir = fs::temp_directory_path() / ("glyphwerk-writer-" + std::to_string(getpid()));
    const fs::path target = dir / "font.bdf", link = dir / "link.bdf", in_missing_folder = dir / "missing" / "x.bdf";
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    const std::tuple<const char *, bdf_font *, int> cases[] = {
        {target.c_str(), font.get(), 1}, {link.c_str(), font.get(), 1}, /* the link stays, the file behind it changes */
        {nullptr, font.get(), 0}, {"", font.get(), 0}, {target.c_str(), nullptr, 0},
        {in_missing_folder.c_str(), font.get(), 0}, {target.c_str(), font.get(), 0}};
    for (auto saver : {&bdf_save_font_path, &bdf_save_font_path_unsynced}) {
        fs::create_directories(dir);
        fs::create_symlink(target, link);
        for (size_t i = 0; i < std::size(cases); i++) {
            const auto &[path, saved_font, saved] = cases[i];
            SCOPED_TRACE(std::to_string(i) + (saver == &bdf_save_font_path ? " synced" : " unsynced"));
            std::ofstream(target, std::ios::trunc) << old;
            fs::permissions(target, mode);
            pid_t child = fork();
            if (child == 0) {
                signal(SIGXFSZ, SIG_IGN);
                rlimit limit = {100, 100};
                if (i + 1 == std::size(cases))
                    setrlimit(RLIMIT_FSIZE, &limit);
                _exit(saver(path, saved_font));
            }
            int status = -1;
            waitpid(child, &status, 0);
            EXPECT_EQ(WEXITSTATUS(status), saved);
            std::ifstream in(target, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), saved ? expected : old);
            EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2); /* no temporary file left behind */
            EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
            EXPECT_TRUE(fs::is_symlink(link));
        }
        fs::remove_all(dir);
    }
}

} // namespace
