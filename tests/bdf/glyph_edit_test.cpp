// Glyphs moving into and out of a font's encoded list, copied, converted
// between depths, and carried as BDF text.

#include "glyph_edit.h"
#include "reader_support.h"

namespace {

const std::string kHeader = "STARTFONT 2.1\nFONT f\nSIZE 10 75 75\nFONTBOUNDINGBOX 8 2 0 0\n"
                            "STARTPROPERTIES 0\nENDPROPERTIES\n";

std::string glyphText(const std::string &name, int encoding, const std::string &rows) {
    return "STARTCHAR " + name + "\nENCODING " + std::to_string(encoding) +
           "\nSWIDTH 720 0\nDWIDTH 8 0\nBBX 8 2 0 0\nBITMAP\n" + rows + "ENDCHAR\n";
}

std::string encodings(const bdf_font *font) {
    std::string list;
    for (uint32_t i = 0; i < font->glyphs_used; ++i)
        list += (i ? " " : "") + std::to_string(font->glyphs[i].encoding);
    return list;
}

bdf_glyph named(const char *name, int32_t encoding) {
    bdf_glyph glyph{};
    glyph.name = strdup(name);
    glyph.encoding = encoding;
    return glyph;
}

std::string hex(const bdf_glyph &glyph) {
    std::string text;
    char pair[3];
    for (uint32_t i = 0; i < glyph.bytes; ++i) {
        snprintf(pair, sizeof pair, "%02X", glyph.bitmap[i]);
        text += pair;
    }
    return text;
}

} // namespace

TEST(GlyphEdit, InsertAndRemoveKeepTheEncodedListSortedWithoutRepeatsAndSaveClean) {
    FontPtr font = load_font(kHeader + "CHARS 2\n" + glyphText("ten", 10, "FF\n00\n") +
                             glyphText("thirty", 30, "00\nFF\n") + "ENDFONT\n");
    ASSERT_EQ(font->glyphs_size, 2u);
    const struct {
        int32_t encoding;
        int32_t index;
        const char *list;
    } inserts[] = {{20, 1, "10 20 30"}, {5, 0, "5 10 20 30"}, {40, 4, "5 10 20 30 40"},
                   {20, -1, "5 10 20 30 40"}, {-1, -1, "5 10 20 30 40"}};
    for (const auto &c : inserts) {
        SCOPED_TRACE(c.encoding);
        bdf_glyph glyph = named("new", c.encoding);
        EXPECT_EQ(bdf_insert_glyph(font.get(), &glyph), c.index);
        EXPECT_EQ(encodings(font.get()), c.list);
        // Refused glyphs stay the caller's; taken ones leave an empty record.
        EXPECT_EQ(glyph.name != nullptr, c.index < 0);
        bdf_free_glyph(&glyph);
    }
    const std::pair<int32_t, int32_t> found[] = {{5, 0}, {10, 1}, {20, 2}, {30, 3}, {40, 4}, {0, -1}, {25, -1}, {41, -1}};
    for (const auto &[encoding, index] : found)
        EXPECT_EQ(bdf_find_glyph(font.get(), encoding), index) << encoding;

    bdf_glyph out{};
    ASSERT_EQ(bdf_remove_glyph(font.get(), 3, &out), 1);
    EXPECT_STREQ(out.name, "thirty");
    EXPECT_EQ(hex(out), "00FF");
    EXPECT_EQ(encodings(font.get()), "5 10 20 40");
    EXPECT_EQ(font->glyphs[4].name, nullptr) << "the freed entry is zero-filled";
    EXPECT_EQ(bdf_remove_glyph(font.get(), 4, &out), 0);
    // Back in, it takes its old place again.
    EXPECT_EQ(bdf_insert_glyph(font.get(), &out), 3);
    EXPECT_EQ(hex(font->glyphs[3]), "00FF");

    const std::string text = save_text(font.get());
    EXPECT_NE(text.find("CHARS 5\n"), std::string::npos);
    FontPtr again = load_font(text);
    EXPECT_EQ(messages(again), "");
    EXPECT_EQ(encodings(again.get()), "5 10 20 30 40");
}

TEST(GlyphEdit, DepthConversionScalesEachLevelToTheNearestAndOneBitInkIsTheDarkest) {
    const struct {
        uint16_t from, to, width;
        std::vector<uint8_t> in;
        const char *out;
    } cases[] = {
        {1, 4, 3, {0xA0}, "F0F0"},          // set, clear, set -> 15, 0, 15
        {1, 2, 5, {0xF8}, "FFC0"},          // five set pixels at level 3
        {4, 2, 4, {0xF8, 0x70}, "E4"},      // 15 8 7 0 -> 3 2 1 0
        {4, 1, 4, {0xF8, 0x70}, "C0"},      // 15 8 -> ink, 7 0 -> none
        {2, 4, 4, {0xD8}, "F5A0"},          // 3 1 2 0 -> 15 5 10 0
        {2, 1, 4, {0xD8}, "A0"},            // 3 1 2 0 -> 1 0 1 0
        {1, 1, 8, {0x5A}, "5A"},            // same depth: unchanged
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        bdf_glyph glyph{};
        glyph.bbx.width = c.width;
        glyph.bbx.height = 1;
        glyph.bytes = uint32_t(c.in.size());
        glyph.bitmap = (unsigned char *)malloc(glyph.bytes);
        memcpy(glyph.bitmap, c.in.data(), glyph.bytes);
        ASSERT_EQ(bdf_convert_glyph_depth(&glyph, c.from, c.to), 1);
        EXPECT_EQ(hex(glyph), c.out);
        EXPECT_EQ(bdf_convert_glyph_depth(&glyph, c.to, 3), 0);
        bdf_free_glyph(&glyph);
    }
}

TEST(GlyphEdit, AGlyphTravelsAsTheBlockSaveWritesAndReadsBackAtItsDepth) {
    // A proportional 2-bit font: the copy is cropped to its ink as Save crops.
    FontPtr font = load_font("STARTFONT 2.1\nFONT g\nSIZE 10 75 75 2\nFONTBOUNDINGBOX 4 2 0 0\n"
                             "STARTPROPERTIES 0\nENDPROPERTIES\nCHARS 1\nSTARTCHAR dot\nENCODING 46\n"
                             "SWIDTH 288 0\nDWIDTH 3 0\nBBX 4 2 0 0\nBITMAP\n0C\n00\nENDCHAR\nENDFONT\n");
    FontPtr single(bdf_glyph_font(font.get(), &font->glyphs[0]));
    ASSERT_TRUE(single);
    size_t length = 0;
    char *text = bdf_save_font_text(single.get(), nullptr, &length);
    ASSERT_NE(text, nullptr);
    const std::string saved(text, length);
    free(text);
    EXPECT_EQ(saved, "STARTFONT 2.1\nFONT g\nSIZE 10 75 75 2\nFONTBOUNDINGBOX 4 2 0 0\nSTARTPROPERTIES 0\n"
                     "ENDPROPERTIES\nCHARS 1\nSTARTCHAR dot\nENCODING 46\nSWIDTH 288 0\nDWIDTH 3 0\n"
                     "BBX 1 1 2 1\nBITMAP\nC0\nENDCHAR\nENDFONT\n");
    EXPECT_EQ(font->glyphs[0].bbx.width, 4) << "the font's own glyph is not cropped";

    const std::string block = saved.substr(saved.find("STARTCHAR"), saved.find("ENDFONT") - saved.find("STARTCHAR"));
    const struct {
        std::string text;
        uint16_t bpp;
        int read_bpp; // 0: nothing read
    } cases[] = {
        {saved, 4, 2},                        // a whole font keeps its own depth
        {block, 2, 2},                        // a bare block at the target's depth
        {block, 4, 4},                        // one byte fits width 1 at every depth: the target's
        {glyphText("b", 66, "FF\n81\n"), 4, 1}, // 2 digits for width 8 fit only 1 bit
        {glyphText("b", 66, "FF\r\n81\r\n"), 1, 1},
        {"hello\n", 1, 0},
        {"", 1, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        FontPtr read(bdf_load_glyph_text(c.text.data(), c.text.size(), c.bpp));
        if (c.read_bpp == 0) {
            EXPECT_FALSE(read);
            continue;
        }
        ASSERT_TRUE(read);
        EXPECT_EQ(read->bpp, c.read_bpp);
        ASSERT_EQ(read->glyphs_used, 1u);
        EXPECT_EQ(read->stop_line, 0u);
    }
    FontPtr back(bdf_load_glyph_text(block.data(), block.size(), 2));
    EXPECT_STREQ(back->glyphs[0].name, "dot");
    EXPECT_EQ(back->glyphs[0].dwidth, 3);
    EXPECT_EQ(hex(back->glyphs[0]), "C0");
}
