// Normalising keeps every glyph's name, device width and ink, as the tests' own
// reader sees them, reaches a fixed point, and bdftopcf takes the result.

#include "cli_test_support.h"
#include "ink_font.h"

#include <gtest/gtest.h>

TEST(WriterRoundTrip, DeeperPixelsAndUnencodedGlyphsKeepEveryPixelAndBdftopcfTakesThem) {
    struct { const char *file, *size_line, *cropped; size_t unencoded = 0; } cases[] = {
        // Cropping moves the pixels of "narrow" to the left edge of a one-byte row.
        {"gray2.bdf", "\nSIZE 8 75 75 2\n",
         "STARTCHAR narrow\nENCODING 66\nSWIDTH 720 0\nDWIDTH 6 0\nBBX 2 4 3 -1\nBITMAP\n90\nF0\n20\n40\nENDCHAR\n"},
        {"gray4.bdf", "\nSIZE 8 75 75 4\n",
         "STARTCHAR corner\nENCODING 98\nSWIDTH 720 0\nDWIDTH 6 0\nBBX 1 1 3 -1\nBITMAP\nC0\nENDCHAR\n"},
        {"unencoded.bdf", "\nSIZE ", "ENCODING -1\n", 3}, // extra1, the repeated A.alt, extra2
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        temp_dir dir;
        command_result r = run_cli({"normalize", data_file(c.file), dir.file("out.bdf")});
        EXPECT_EQ(r.exit_status, 0) << r.err;
        const ink_font before = read_ink_font(read_file(data_file(c.file)));
        const std::string text = read_file(dir.file("out.bdf"));
        const ink_font after = read_ink_font(text);
        EXPECT_EQ(after.bpp, before.bpp);
        EXPECT_NE(text.find(c.size_line), std::string::npos);
        EXPECT_NE(text.find(c.cropped), std::string::npos) << text;
        ASSERT_EQ(after.encoded.size(), before.encoded.size());
        for (const auto &[encoding, glyph] : before.encoded)
            EXPECT_EQ(glyph_difference(glyph, after.encoded.at(encoding)), "") << "encoding " << encoding;
        ASSERT_EQ(before.unencoded.size(), c.unencoded);
        ASSERT_EQ(after.unencoded.size(), c.unencoded) << text;
        for (size_t i = 0; i < before.unencoded.size(); ++i)
            EXPECT_EQ(glyph_difference(before.unencoded[i], after.unencoded[i]), "") << "unencoded " << i;
        EXPECT_EQ(after.chars_count, after.glyphs_in_file);

        // Cropping can shrink the font box only on the next load, so the second
        // pass may still change the text; from then on nothing changes.
        EXPECT_EQ(run_cli({"normalize", dir.file("out.bdf"), dir.file("second.bdf")}).exit_status, 0);
        EXPECT_EQ(run_cli({"normalize", dir.file("second.bdf"), dir.file("third.bdf")}).exit_status, 0);
        EXPECT_EQ(read_file(dir.file("third.bdf")), read_file(dir.file("second.bdf"))) << "no fixed point";
        command_result pcf = run_command({"bdftopcf", "-o", dir.file("out.pcf"), dir.file("out.bdf")});
        EXPECT_EQ(pcf.exit_status, 0);
        EXPECT_EQ(pcf.err, "");
    }
}
