#ifndef GLYPHWERK_TESTS_BDF_READER_SUPPORT_H
#define GLYPHWERK_TESTS_BDF_READER_SUPPORT_H

/* Loading fonts from text and saving them to text in tests, and a
 * well-formed font to vary. The registry is set up once for the whole test
 * program (registry_test.cpp). */

#include "bdf.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

struct FontDeleter {
    void operator()(bdf_font *font) const { bdf_free_font(font); }
};
using Font = std::unique_ptr<bdf_font, FontDeleter>;

/* Reads `text` through bdf_load_font from an in-memory stream (binary: CR is a
 * line end of its own). */
inline Font load_stream(const std::string &text, const bdf_options *options = nullptr,
                        bdf_callback callback = nullptr, void *client = nullptr) {
    std::string copy = text;
    FILE *file = fmemopen(copy.data(), copy.size() ? copy.size() : 1, "rb");
    if (!file)
        return nullptr;
    if (copy.empty())
        fgetc(file);
    Font font(bdf_load_font(file, options, callback, client));
    fclose(file);
    return font;
}

/* Writes `bytes` to a temporary file and reads it through bdf_load_font_path. */
inline Font load_path(const std::string &bytes) {
    char path[] = "/tmp/glyphwerk-bdf-test-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return nullptr;
    FILE *file = fdopen(fd, "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    Font font(bdf_load_font_path(path));
    remove(path);
    return font;
}

/* Writes the font through bdf_save_font into memory. */
inline std::string save_text(bdf_font *font, const bdf_options *options = nullptr,
                             bdf_callback callback = nullptr, void *client = nullptr) {
    char *buffer = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&buffer, &size);
    if (!file)
        return "";
    bdf_save_font(file, font, options, callback, client);
    fclose(file);
    std::string text(buffer, size);
    free(buffer);
    return text;
}

inline std::string messages(const Font &font) {
    return font && font->messages ? std::string(font->messages, font->messages_len) : "";
}

inline std::string comments(const Font &font) {
    return font && font->comments ? std::string(font->comments, font->comments_len) : "";
}

/* A header that needs no correction: 16 pt at 75 dpi, box 8x16 at (0,-4). */
inline std::string header(const std::string &props = "FONT_ASCENT 12\nFONT_DESCENT 4\n",
                          int prop_count = 2) {
    return "STARTFONT 2.1\n"
           "FONT -Test-Fixed-Medium-R-Normal--16-160-75-75-P-80-ISO10646-1\n"
           "SIZE 16 75 75\n"
           "FONTBOUNDINGBOX 8 16 0 -4\n"
           "STARTPROPERTIES " + std::to_string(prop_count) + "\n" + props + "ENDPROPERTIES\n";
}

/* A glyph whose SWIDTH matches its DWIDTH of 8 at 16 pt and 75 dpi (480). */
inline std::string glyph(const std::string &name, int encoding,
                         const std::string &bbx = "8 16 0 -4", const std::string &rows = "",
                         int dwidth = 8) {
    return "STARTCHAR " + name + "\nENCODING " + std::to_string(encoding) + "\nSWIDTH " +
           std::to_string(dwidth * 60) + " 0\nDWIDTH " + std::to_string(dwidth) +
           " 0\nBBX " + bbx + "\nBITMAP\n" + rows + "ENDCHAR\n";
}

/* 16 rows of "00". */
inline std::string blank_rows(int n = 16, const std::string &row = "00") {
    std::string out;
    for (int i = 0; i < n; i++)
        out += row + "\n";
    return out;
}

inline std::string font_text(const std::string &glyphs, int count) {
    return header() + "CHARS " + std::to_string(count) + "\n" + glyphs + "ENDFONT\n";
}

#endif
