// libFuzzer target: the bytes are read as a font, the font is saved, and the
// saved text must read back as a whole font. Crashes, sanitizer reports and
// leaks fail through the sanitizers; a saved font that does not read back
// completely aborts with a note of what went wrong.

#include "bdf.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bdf_font *load_bytes(const void *data, size_t size) {
    FILE *file = fmemopen(const_cast<void *>(data), size, "r");
    if (!file)
        return nullptr;
    bdf_font *font = bdf_load_font(file, nullptr, nullptr, nullptr);
    std::fclose(file);
    return font;
}

// A character-cell font is written with every glyph padded to the font box, so
// a few hundred bytes that declare a box of thousands of pixels legitimately
// write megabytes. Such fonts are read but not saved here: writing them is
// slow, not wrong, and would starve the search.
bool padded_text_is_huge(const bdf_font *font) {
    if (font->spacing != BDF_SPACING_CELL)
        return false;
    uint64_t row_text = 2 * (((uint64_t)font->bbx.width * font->bpp + 7) / 8) + 1;
    uint64_t glyphs = (uint64_t)font->glyphs_used + font->unencoded_used;
    return glyphs * font->bbx.height * row_text > (256u << 10);
}

void fail(const char *what, const char *text, size_t length) {
    std::fprintf(stderr, "load_save_fuzz: %s\n--- saved text ---\n", what);
    std::fwrite(text, 1, length, stderr);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    bdf_setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0; // fmemopen refuses an empty buffer
    bdf_font *font = load_bytes(data, size);
    if (!font)
        return 0;
    if (padded_text_is_huge(font)) {
        bdf_free_font(font);
        return 0;
    }

    char *saved = nullptr;
    size_t saved_size = 0;
    FILE *out = open_memstream(&saved, &saved_size);
    int saved_whole = bdf_save_font(out, font, nullptr, nullptr, nullptr);
    std::fclose(out);
    bdf_free_font(font);
    if (!saved_whole)
        fail("saving to memory failed", saved, saved_size);

    bdf_font *again = load_bytes(saved, saved_size);
    if (!again)
        fail("the saved font does not load again", saved, saved_size);
    // What the writer wrote is complete: reading it back must reach ENDFONT.
    if (again->messages && std::strstr(again->messages, "corrupted or missing fields"))
        fail(again->messages, saved, saved_size);
    bdf_free_font(again);
    std::free(saved);
    return 0;
}
