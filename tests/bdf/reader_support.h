#ifndef GLYPHWERK_TESTS_BDF_READER_SUPPORT_H
#define GLYPHWERK_TESTS_BDF_READER_SUPPORT_H

#include "bdf.h"
#include "font_ptr.h"

#include <array>
#include <string>
#include <vector>

/* Reads `text` through bdf_load_font: bytes as they are, CR a line end of its own. */
inline FontPtr load_font(std::string text, const bdf_options *options = nullptr) {
    FILE *file = fmemopen(text.data(), text.size(), "rb");
    FontPtr font(bdf_load_font(file, options, nullptr, nullptr));
    if (file)
        fclose(file);
    return font;
}

/* Reads `bytes` from a file through bdf_load_font_path (text mode). */
inline FontPtr load_path(const std::string &bytes) {
    char path[] = "/tmp/glyphwerk-bdf-test-XXXXXX";
    FILE *file = fdopen(mkstemp(path), "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    FontPtr font(bdf_load_font_path(path));
    remove(path);
    return font;
}

inline std::string save_text(bdf_font *font) {
    char *buffer = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&buffer, &size);
    int saved = bdf_save_font(file, font, nullptr, nullptr, nullptr);
    fclose(file);
    std::string text = saved ? std::string(buffer, size) : "(not saved)";
    free(buffer);
    return text;
}

inline std::string messages(const FontPtr &f) { return !f ? "(no font)" : f->messages ? std::string(f->messages, f->messages_len) : ""; }
inline std::string comments(const FontPtr &f) { return f && f->comments ? std::string(f->comments, f->comments_len) : ""; }

using Names = std::vector<std::string>; /* "name encoding" of each glyph, "(null)" for no name */
inline Names names(const bdf_glyph *glyphs, uint32_t used) {
    Names out;
    for (uint32_t i = 0; i < used; i++)
        out.push_back(std::string(glyphs[i].name ? glyphs[i].name : "(null)") + " " + std::to_string(glyphs[i].encoding));
    return out;
}

using Box = std::array<int, 6>; /* {width, height, x_offset, y_offset, ascent, descent} */
inline Box box(const bdf_bbx &b) { return {b.width, b.height, b.x_offset, b.y_offset, b.ascent, b.descent}; }

/* A header with its own properties, SIZE and FONTBOUNDINGBOX; by default one
 * that needs no correction: 16 pt at 75 dpi, box 8x16 at (0,-4). */
inline std::string header(const std::string &props = "FONT_ASCENT 12\nFONT_DESCENT 4\n", int prop_count = 2,
                          const std::string &size = "16 75 75", const std::string &box = "8 16 0 -4") {
    return "STARTFONT 2.1\nFONT -Test-Fixed-Medium-R-Normal--16-160-75-75-P-80-ISO10646-1\nSIZE " + size +
           "\nFONTBOUNDINGBOX " + box + "\nSTARTPROPERTIES " + std::to_string(prop_count) + "\n" + props +
           "ENDPROPERTIES\n";
}

/* A glyph whose SWIDTH matches its DWIDTH at 16 pt and 75 dpi (60 per pixel). */
inline std::string glyph(const std::string &name, int encoding, const std::string &bbx = "8 16 0 -4",
                         const std::string &rows = "", int dwidth = 8) {
    return "STARTCHAR " + name + "\nENCODING " + std::to_string(encoding) + "\nSWIDTH " + std::to_string(dwidth * 60) +
           " 0\nDWIDTH " + std::to_string(dwidth) + " 0\nBBX " + bbx + "\nBITMAP\n" + rows + "ENDCHAR\n";
}

inline std::string rows(int n, const std::string &row = "00") {
    std::string out;
    for (; n > 0; n--) out += row + "\n";
    return out;
}

inline std::string font_text(const std::string &glyphs, int count, const std::string &head = header()) {
    return head + "CHARS " + std::to_string(count) + "\n" + glyphs + "ENDFONT\n";
}

#endif
