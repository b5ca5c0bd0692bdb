// Glyphs moving into and out of a font's encoded list, copied, converted
// between depths, and carried as BDF text.

#include "glyph_edit.h"
#include "reader_support.h"

#include <gtest/gtest.h>

namespace {

std::string encodings(const bdf_font *font) {
    std::string list;
    for (uint32_t i = 0; i < font->glyphs_used; ++i)
        list += (i ? " " : "") + std::to_string(font->glyphs[i].encoding);
    return list;
}

std::string hex(const bdf_glyph &glyph) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint32_t i = 0; i < glyph.bytes; ++i)
        text += {digits[glyph.bitmap[i] >> 4], digits[glyph.bitmap[i] & 15]};
    return text;
}

} // namespace

TEST(GlyphEdit, InsertAndRemoveKeepTheEncodedListSortedWithoutRepeats) {
    FontPtr font = load_font(font_text(glyph("ten", 10, "8 2 0 0", "FF\n00\n") + glyph("thirty", 30, "8 2 0 0", "00\nFF\n"), 2));
    ASSERT_EQ(font->glyphs_size, 2u);
    const std::tuple<int32_t, int32_t, const char *> inserts[] = {
        {20, 1, "10 20 30"}, {5, 0, "5 10 20 30"}, {40, 4, "5 10 20 30 40"}, {20, -1, "5 10 20 30 40"}, {-1, -1, "5 10 20 30 40"}};
    for (const auto &[encoding, index, list] : inserts) {
        SCOPED_TRACE(encoding);
        bdf_glyph glyph{};
        glyph.name = strdup("new");
        glyph.encoding = encoding;
        EXPECT_EQ(bdf_insert_glyph(font.get(), &glyph), index);
        EXPECT_EQ(encodings(font.get()), list);
        // Refused glyphs stay the caller's; taken ones leave an empty record.
        EXPECT_EQ(glyph.name != nullptr, index < 0);
        bdf_free_glyph(&glyph);
    }
    for (const auto &[encoding, index] : {std::pair{5, 0}, {40, 4}, {0, -1}, {25, -1}, {41, -1}})
        EXPECT_EQ(bdf_find_glyph(font.get(), encoding), index) << encoding;

    bdf_glyph out{};
    ASSERT_EQ(bdf_remove_glyph(font.get(), 3, &out), 1);
    EXPECT_STREQ(out.name, "thirty");
    EXPECT_EQ(hex(out), "00FF");
    EXPECT_EQ(encodings(font.get()), "5 10 20 40");
    EXPECT_EQ(font->glyphs[4].name, nullptr) << "the freed entry is zero-filled";
    EXPECT_EQ(bdf_remove_glyph(font.get(), 4, &out), 0);
    bdf_free_glyph(&out);
}

TEST(GlyphEdit, DepthConversionScalesEachLevelToTheNearestAndOneBitInkIsTheDarkest) {
    const std::tuple<uint16_t, uint16_t, uint16_t, std::vector<uint8_t>, const char *> cases[] = {
        {1, 4, 3, {0xA0}, "F0F0"},          // set, clear, set -> 15, 0, 15
        {4, 2, 4, {0xF8, 0x70}, "E4"},      // 15 8 7 0 -> 3 2 1 0
        {4, 1, 4, {0xF8, 0x70}, "C0"},      // 15 8 -> ink, 7 0 -> none
        {2, 4, 4, {0xD8}, "F5A0"},          // 3 1 2 0 -> 15 5 10 0
        {2, 1, 4, {0xD8}, "A0"},            // 3 1 2 0 -> 1 0 1 0
        {1, 1, 8, {0x5A}, "5A"},            // same depth: unchanged
    };
    for (const auto &[from, to, width, in, out] : cases) {
        SCOPED_TRACE(std::to_string(from) + " -> " + std::to_string(to));
        bdf_glyph glyph{};
        glyph.bbx.width = width;
        glyph.bbx.height = 1;
        glyph.bytes = uint32_t(in.size());
        glyph.bitmap = (unsigned char *)malloc(glyph.bytes);
        memcpy(glyph.bitmap, in.data(), glyph.bytes);
        ASSERT_EQ(bdf_convert_glyph_depth(&glyph, from, to), 1);
        EXPECT_EQ(hex(glyph), out);
        EXPECT_EQ(bdf_convert_glyph_depth(&glyph, to, 3), 0);
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
    const std::string saved = save_text(single.get());
    const std::string block = saved.substr(saved.find("STARTCHAR"), saved.find("ENDFONT") - saved.find("STARTCHAR"));
    EXPECT_EQ(block, "STARTCHAR dot\nENCODING 46\nSWIDTH 288 0\nDWIDTH 3 0\nBBX 1 1 2 1\nBITMAP\nC0\nENDCHAR\n");
    EXPECT_EQ(font->glyphs[0].bbx.width, 4) << "the font's own glyph is not cropped";
    const std::tuple<std::string, uint16_t, int> cases[] = {
        {saved, 4, 2},                          // a whole font keeps its own depth
        {block, 2, 2},                          // a bare block at the target's depth
        {block, 4, 4},                          // one byte fits width 1 at every depth: the target's
        {glyph("b", 66, "8 2 0 0", "FF\n81\n"), 4, 1}, // 2 digits for width 8 fit only 1 bit
    };
    for (const auto &[text, bpp, read_bpp] : cases) {
        SCOPED_TRACE(text);
        FontPtr read(bdf_load_glyph_text(text.data(), text.size(), bpp));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->bpp, read_bpp);
        ASSERT_EQ(read->glyphs_used, 1u);
        EXPECT_EQ(read->stop_line, 0u);
    }
    FontPtr back(bdf_load_glyph_text(block.data(), block.size(), 2));
    EXPECT_EQ(hex(back->glyphs[0]), "C0");
}
