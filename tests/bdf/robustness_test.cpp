/* Damaged input: whatever the damage, the font the reader returns is sound. */
#include "reader_support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

/* What every font the reader returns must satisfy. */
void expect_sound(const bdf_font *font) {
    ASSERT_TRUE(font->glyphs_used <= font->glyphs_size && font->unencoded_used <= font->unencoded_size &&
                font->props_used <= font->props_size);
    for (uint32_t i = 1; i < font->glyphs_used; i++)
        ASSERT_LT(font->glyphs[i - 1].encoding, font->glyphs[i].encoding);
    for (uint32_t i = 0; i < font->glyphs_used + font->unencoded_used; i++) {
        const bool encoded = i < font->glyphs_used;
        const bdf_glyph &g = encoded ? font->glyphs[i] : font->unencoded[i - font->glyphs_used];
        ASSERT_EQ(g.bytes, (uint32_t)g.bbx.height * ((g.bbx.width * font->bpp + 7) / 8));
        ASSERT_EQ(g.bitmap == nullptr, g.bytes == 0);
        ASSERT_TRUE(!g.bytes || (int)g.bitmap[g.bytes - 1] >= 0); /* the whole bitmap is readable */
        ASSERT_TRUE(encoded || g.encoding == (int32_t)(i - font->glyphs_used));
    }
    ASSERT_TRUE(!font->messages_len || (font->messages[font->messages_len - 1] == '\n' &&
                                        font->messages[font->messages_len] == '\0'));
    ASSERT_TRUE(font->bpp == 1 || font->bpp == 2 || font->bpp == 4);
}

TEST(Robustness, RandomDamageNeverBreaksTheFont) {
    std::string base = "STARTFONT 2.1\nCOMMENT c\nFONT -a-b-c-d-e--16-160-75-75-C-80-x-1\n"
                       "SIZE 16 75 75 2\nFONTBOUNDINGBOX 8 16 0 -4\nMETRICSSET 0\n"
                       "STARTPROPERTIES 4\nFONT_ASCENT 12\nCOPYRIGHT \"x\"\nSPACING \"M\"\n"
                       "COMMENT p\nENDPROPERTIES\nCHARS 4\n" +
                       glyph("A", 65, "5 3 0 0", "FFC0\n1234\n5678\n") +
                       glyph("B", 70000, "8 16 0 -4", "FF\n") + glyph("C", -1, "3 2 1 1", "C0\n40\n") +
                       glyph("D", 65, "0 2 0 0", "\n\n") + "ENDFONT\n";
    const char alphabet[] = "\n\r \t-0123456789ABCDEFx\"\x1A#STARTCHARENCODINGBBXBITMAP";
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; round++) {
        std::string text = base;
        for (int e = 1 + (int)(random() % 8); e > 0; e--) {
            size_t at = random() % text.size();
            switch (random() % 4) {
            case 0: text[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
            case 1: text.erase(at, 1 + random() % 20); break;
            case 2: text.insert(at, text.substr(random() % text.size(), 1 + random() % 40)); break;
            default: text.insert(at, std::to_string((int32_t)random())); break;
            }
            if (text.empty())
                text = "\n";
        }
        if (FontPtr font = load_font(text))
            expect_sound(font.get());
        if (HasFatalFailure())
            return ADD_FAILURE() << "input:\n" << text;
    }
}

} // namespace
