// The writer's round trip at every bit depth and for glyphs without a code
// point: normalising a font through glyphwerk-bdf keeps every glyph's name,
// device width and ink (read back by the tests' own reader), and normalising
// reaches a fixed point.

#include "cli_test_support.h"
#include "ink_font.h"

#include <gtest/gtest.h>

namespace {

struct normalized {
    ink_font before;
    ink_font after;
    std::string text;
};

normalized normalize_fixture(const temp_dir &dir, const std::string &name) {
    const std::string out = dir.file("out.bdf");
    command_result r = run_cli({"normalize", data_file(name), out});
    EXPECT_EQ(r.exit_status, 0) << r.err;
    normalized n;
    n.before = read_ink_font(read_file(data_file(name)));
    n.text = read_file(out);
    n.after = read_ink_font(n.text);

    // Cropping can shrink the font box only on the next load, so the second
    // pass may still change the text; from then on nothing changes.
    command_result second = run_cli({"normalize", out, dir.file("second.bdf")});
    command_result third = run_cli({"normalize", dir.file("second.bdf"), dir.file("third.bdf")});
    EXPECT_EQ(second.exit_status, 0) << second.err;
    EXPECT_EQ(third.exit_status, 0) << third.err;
    EXPECT_EQ(read_file(dir.file("third.bdf")), read_file(dir.file("second.bdf"))) << "no fixed point";
    return n;
}

void expect_same_encoded_glyphs(const ink_font &before, const ink_font &after) {
    ASSERT_EQ(before.encoded.size(), after.encoded.size());
    for (const auto &[encoding, glyph] : before.encoded) {
        auto found = after.encoded.find(encoding);
        ASSERT_NE(found, after.encoded.end()) << "encoding " << encoding << " was lost";
        EXPECT_EQ(glyph_difference(glyph, found->second), "") << "encoding " << encoding;
    }
}

} // namespace

TEST(WriterRoundTrip, DeeperPixelsKeepEveryPixelValue) {
    struct {
        const char *file;
        int bpp;
        const char *size_line, *cropped;
    } cases[] = {
        // Cropping moves the pixels of "narrow" to the left edge of a one-byte row.
        {"gray2.bdf", 2, "\nSIZE 8 75 75 2\n",
         "STARTCHAR narrow\nENCODING 66\nSWIDTH 720 0\nDWIDTH 6 0\nBBX 2 4 3 -1\nBITMAP\n90\nF0\n20\n40\nENDCHAR\n"},
        {"gray4.bdf", 4, "\nSIZE 8 75 75 4\n",
         "STARTCHAR corner\nENCODING 98\nSWIDTH 720 0\nDWIDTH 6 0\nBBX 1 1 3 -1\nBITMAP\nC0\nENDCHAR\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        temp_dir dir;
        normalized n = normalize_fixture(dir, c.file);
        EXPECT_EQ(n.after.bpp, c.bpp);
        EXPECT_NE(n.text.find(c.size_line), std::string::npos);
        expect_same_encoded_glyphs(n.before, n.after);
        EXPECT_NE(n.text.find(c.cropped), std::string::npos) << n.text;
    }
}

TEST(WriterRoundTrip, UnencodedGlyphsAreWrittenAndCounted) {
    temp_dir dir;
    normalized n = normalize_fixture(dir, "unencoded.bdf");
    expect_same_encoded_glyphs(n.before, n.after);

    ASSERT_EQ(n.before.unencoded.size(), 3u); // extra1, the repeated A.alt, extra2
    ASSERT_EQ(n.after.unencoded.size(), n.before.unencoded.size()) << n.text;
    for (size_t i = 0; i < n.before.unencoded.size(); ++i)
        EXPECT_EQ(glyph_difference(n.before.unencoded[i], n.after.unencoded[i]), "") << "unencoded " << i;
    EXPECT_EQ(n.after.chars_count, n.after.glyphs_in_file);

    // An independent BDF client takes the file as it is.
    command_result pcf = run_command({"bdftopcf", "-o", dir.file("out.pcf"), dir.file("out.bdf")});
    EXPECT_EQ(pcf.exit_status, 0);
    EXPECT_EQ(pcf.err, "");
}
