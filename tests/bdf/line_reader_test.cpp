/* Line ends, skipped lines, line numbers and long lines, for both entry points:
 * bdf_load_font reads bytes as they are, bdf_load_font_path reads text (CR LF
 * is one line end, 0x1A ends the data). */
#include "reader_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char *const size_missing_at_3 = "[line 3] Missing \"SIZE\" line.\n"
                                      "[line 4] Font header corrupted or missing fields.\n";

TEST(LineReader, LineEndsAndTheLinesTheyNumber) {
    std::string crlf = "STARTFONT 2.1\r\nFONT x\r\nFONTBOUNDINGBOX 1 1 0 0\r\n";
    EXPECT_EQ(messages(load_path(crlf)), size_missing_at_3);
    /* Read as bytes, CR ends a line and the LF after it ends an empty one. */
    EXPECT_EQ(messages(load_stream(crlf)), "[line 5] Missing \"SIZE\" line.\n"
                                           "[line 6] Font header corrupted or missing fields.\n");
    std::string cr = "STARTFONT 2.1\rFONT x\rFONTBOUNDINGBOX 1 1 0 0\r";
    EXPECT_EQ(messages(load_stream(cr)), size_missing_at_3);
    EXPECT_EQ(messages(load_path(cr)), size_missing_at_3);
    EXPECT_EQ(messages(load_stream("STARTFONT 2.1\n\rFONT x\n\rFONTBOUNDINGBOX 1 1 0 0\n\r")),
              size_missing_at_3);
}

TEST(LineReader, CtrlZEndsTextButNotBytes) {
    std::string cut = font_text(glyph("A", 65), 1);
    cut.insert(cut.size() - 8, "\x1A\n"); /* a line of its own before ENDFONT */
    FontPtr font = load_path(cut);
    EXPECT_EQ(messages(font), "[line 17] Font glyphs corrupted or missing fields.\n");
    EXPECT_EQ(font->glyphs_used, 1u);
    /* As bytes it is just a line that starts with 0x1A, and skipped. */
    EXPECT_EQ(messages(load_stream(cut)), "");
    /* Text after 0x1A is never seen, whatever it holds. */
    FontPtr ended = load_path("STARTFONT 2.1\nCOMMENT a\x1A\nCOMMENT b\n");
    EXPECT_EQ(comments(ended), "");
}

TEST(LineReader, LongLinesAreReadWhole) {
    std::string long_comment(200000, 'c');
    std::string row(70000, 'F');
    FontPtr font = load_font("STARTFONT 2.1\nCOMMENT " + long_comment +
                          "\nFONT x\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 1 0 0\nSTARTPROPERTIES 0\n"
                          "ENDPROPERTIES\nCHARS 1\n" + glyph("A", 65, "8 1 0 0", row + "\n") +
                          "ENDFONT\n");
    EXPECT_EQ(comments(font), long_comment + "\n");
    EXPECT_EQ(messages(font), "FONT_ASCENT property missing.  Added \"FONT_ASCENT 1\".\n"
                              "FONT_DESCENT property missing.  Added \"FONT_DESCENT 0\".\n"
                              "Glyph 65 extra columns removed.\n");
    ASSERT_EQ(font->glyphs_used, 1u);
    EXPECT_EQ(font->glyphs[0].bitmap[0], 0xFF);
}

TEST(LineReader, LineEndsAcrossReadBlocks) {
    /* A CR LF pair split by the 64 KiB block boundary: the CR is byte 65535. */
    std::string filler(65535 - 15 - 8, 'x');
    std::string text = "STARTFONT 2.1\r\nCOMMENT " + filler + "\r\nFONTBOUNDINGBOX 1 1 0 0\r\n";
    ASSERT_EQ(text[65535], '\r');
    FontPtr font = load_path(text);
    EXPECT_EQ(comments(font), filler + "\n");
    EXPECT_EQ(messages(font), size_missing_at_3);

    /* An LF CR pair split the same way, read as bytes. */
    std::string lf_filler(65535 - 14 - 8, 'y');
    std::string lf_cr = "STARTFONT 2.1\nCOMMENT " + lf_filler + "\n\rFONTBOUNDINGBOX 1 1 0 0\n";
    ASSERT_EQ(lf_cr[65535], '\n');
    EXPECT_EQ(messages(load_stream(lf_cr)), size_missing_at_3);

    /* Many short CR LF lines over several blocks. */
    std::string many = "STARTFONT 2.1\r\n";
    for (int i = 0; i < 30000; i++)
        many += "COMMENT line\r\n";
    FontPtr counted = load_path(many + "FONTBOUNDINGBOX 1 1 0 0\r\n");
    EXPECT_EQ(messages(counted), "[line 30002] Missing \"SIZE\" line.\n"
                                 "[line 30003] Font header corrupted or missing fields.\n");
    EXPECT_EQ(counted->comments_len, 30000u * 5);
    EXPECT_EQ(std::string(counted->comments).find('\r'), std::string::npos);
}

TEST(LineReader, TextBuffersEndWithNul) {
    FontPtr font = load_font("STARTFONT 2.1\nCOMMENT a\nCOMMENT b\n");
    EXPECT_EQ(font->comments_len, 4u);
    EXPECT_EQ(font->comments[4], '\0');
    EXPECT_EQ(font->messages[font->messages_len], '\0');
    EXPECT_EQ(font->messages[font->messages_len - 1], '\n');
}

} // namespace
