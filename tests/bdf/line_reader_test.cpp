/* Line ends, skipped lines and line numbers: bdf_load_font reads bytes as they
 * are, bdf_load_font_path reads text (CR LF is one line end, 0x1A ends the data). */
#include "reader_support.h"

#include <gtest/gtest.h>

namespace {

const std::string size_missing_at_3 = "[line 3] Missing \"SIZE\" line.\n[line 4] Font header corrupted or missing fields.\n";

/* Three lines ended by `eol`, the second line's end starting at byte 65535,
 * the last of the first read block. */
std::string lines_to_block_end(const std::string &eol) {
    return "STARTFONT 2.1" + eol + "COMMENT " + std::string(65535 - 21 - eol.size(), 'x') + eol +
           "FONTBOUNDINGBOX 1 1 0 0" + eol;
}

TEST(LineReader, LineEndsCtrlZAndTheLinesTheyNumberAlsoAcrossReadBlocks) {
    for (const std::string eol : {"\r\n", "\n\r"})
        ASSERT_EQ(lines_to_block_end(eol)[65535], eol[0]);
    struct { std::string text; bool as_text; std::string messages; } cases[] = {
        {"STARTFONT 2.1\r\nFONT x\r\nFONTBOUNDINGBOX 1 1 0 0\r\n", true, size_missing_at_3},
        /* Read as bytes, CR ends a line and the LF after it ends an empty one. */
        {"STARTFONT 2.1\r\nFONT x\r\nFONTBOUNDINGBOX 1 1 0 0\r\n", false,
         "[line 5] Missing \"SIZE\" line.\n[line 6] Font header corrupted or missing fields.\n"},
        {"STARTFONT 2.1\rFONT x\rFONTBOUNDINGBOX 1 1 0 0\r", false, size_missing_at_3},
        {"STARTFONT 2.1\rFONT x\rFONTBOUNDINGBOX 1 1 0 0\r", true, size_missing_at_3},
        {"STARTFONT 2.1\n\rFONT x\n\rFONTBOUNDINGBOX 1 1 0 0\n\r", false, size_missing_at_3},
        /* A CR LF or LF CR pair split by the end of a read block is one line end. */
        {lines_to_block_end("\r\n"), true, size_missing_at_3},
        {lines_to_block_end("\n\r"), false, size_missing_at_3},
    };
    for (auto &c : cases)
        EXPECT_EQ(messages(c.as_text ? load_path(c.text) : load_font(c.text)), c.messages) << c.text.substr(0, 40);
    EXPECT_EQ(comments(load_path(lines_to_block_end("\r\n"))), std::string(65535 - 23, 'x') + "\n");
    /* 0x1A ends text; as bytes it starts a line that is skipped. */
    std::string cut = font_text(glyph("A", 65), 1);
    cut.insert(cut.size() - 8, "\x1A\n"); /* a line of its own before ENDFONT */
    FontPtr font = load_path(cut);
    EXPECT_EQ(messages(font), "[line 17] Font glyphs corrupted or missing fields.\n");
    EXPECT_EQ(font->glyphs_used, 1u);
    EXPECT_EQ(messages(load_font(cut)), "");
    EXPECT_EQ(comments(load_path("STARTFONT 2.1\nCOMMENT a\x1A\nCOMMENT b\n")), "");
}

} // namespace
