// The BDF 2.1 writer: header, comments, properties, then every glyph,
// normalised as it is written.

#include "bdf.h"
#include "metrics.h"
#include "normalize.h"

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The two hexadecimal digits of every byte value: one two-byte copy per byte
// written instead of two lookups.
struct HexPairs {
    char digits[256][2];
    constexpr HexPairs() : digits() {
        const char hex[] = "0123456789ABCDEF";
        for (int b = 0; b < 256; ++b) {
            digits[b][0] = hex[b >> 4];
            digits[b][1] = hex[b & 15];
        }
    }
};
constexpr HexPairs hex_pairs;

// Text is gathered in a block and written in large pieces: formatting with
// stdio line by line costs several times more than the writing itself. The
// pieces go to a file, or to a string in memory.
class Output {
public:
    Output(FILE *file, const char *eol) : file_(file), eol_(eol), eol_len_(strlen(eol)) {}
    Output(std::string *memory, const char *eol) : memory_(memory), eol_(eol), eol_len_(strlen(eol)) {}
    ~Output() { flush(); }

    bool ok() const { return ok_; }

    void text(const char *s, size_t n) {
        if (n <= sizeof block_ - used_) {
            memcpy(block_ + used_, s, n);
            used_ += n;
            return;
        }
        flush();
        if (n > sizeof block_) {
            put(s, n);
            return;
        }
        memcpy(block_, s, n);
        used_ = n;
    }
    void text(const char *s) { text(s, strlen(s)); }
    // A literal's length is known here, so its copy compiles to a few stores.
    template <size_t N> void literal(const char (&s)[N]) { text(s, N - 1); }
    void eol() {
        if (sizeof block_ - used_ < 2)
            flush();
        block_[used_] = eol_[0];
        block_[used_ + 1] = eol_[1];
        used_ += eol_len_;
    }
    template <size_t N> void line(const char (&s)[N]) {
        literal(s);
        eol();
    }

    void number(long long value) {
        if (sizeof block_ - used_ < max_digits)
            flush();
        used_ = (size_t)(std::to_chars(block_ + used_, block_ + sizeof block_, value).ptr - block_);
    }
    // The "%hd" of the format: a 16-bit field shown as a signed number.
    void short_number(uint16_t value) { number((int16_t)value); }

    void hex_bytes(const unsigned char *bytes, size_t n) {
        while (n > 0) {
            if (sizeof block_ - used_ < 2)
                flush();
            size_t room = (sizeof block_ - used_) / 2;
            size_t take = n < room ? n : room;
            char *out = block_ + used_;
            for (size_t i = 0; i < take; ++i) {
                memcpy(out + 2 * i, hex_pairs.digits[bytes[i]], 2);
            }
            used_ += 2 * take;
            bytes += take;
            n -= take;
        }
    }
    // Whole rows of a bitmap, each followed by a line end but the last; false
    // (nothing written) when they do not fit in one block.
    bool hex_rows(const unsigned char *bytes, uint32_t row_bytes, uint32_t rows) {
        uint64_t size = (uint64_t)rows * (2 * row_bytes + eol_len_);
        if (size > sizeof block_)
            return false;
        if (size > sizeof block_ - used_)
            flush();
        char *out = block_ + used_;
        for (uint32_t row = 0; row < rows; ++row) {
            if (row != 0) {
                out[0] = eol_[0];
                out[1] = eol_[1];
                out += eol_len_;
            }
            for (uint32_t i = 0; i < row_bytes; ++i, ++bytes, out += 2) {
                memcpy(out, hex_pairs.digits[*bytes], 2);
            }
        }
        used_ = (size_t)(out - block_);
        return true;
    }
    void zero_hex(size_t n) {
        for (size_t i = 0; i < n; ++i)
            text("00", 2);
    }

    void flush() {
        put(block_, used_);
        used_ = 0;
    }

private:
    void put(const char *s, size_t n) {
        if (n == 0)
            return;
        if (memory_)
            memory_->append(s, n);
        else if (fwrite(s, 1, n, file_) != n)
            ok_ = false;
    }

    FILE *file_ = nullptr;
    std::string *memory_ = nullptr;
    const char *eol_;
    size_t eol_len_;
    static constexpr size_t max_digits = 20; // "-9223372036854775808"
    bool ok_ = true;
    size_t used_ = 0;
    char block_[1 << 16];
};

const char *eol_text(int32_t eol) {
    switch (eol) {
    case BDF_EOL_CRLF: return "\r\n";
    case BDF_EOL_CR: return "\r";
    default: return "\n";
    }
}

bool is_comment_name(const char *name) { return name != nullptr && strncmp(name, "COMMENT", 7) == 0; }

void write_comments(Output &out, const bdf_font *font) {
    if (font->comments_len == 0 || font->comments == nullptr || font->comments[0] == '\0')
        return;
    const char *p = font->comments;
    const char *end = font->comments + font->comments_len;
    while (p < end && *p != '\0') {
        const char *stop = p;
        while (stop < end && *stop != '\n' && *stop != '\0')
            ++stop;
        out.literal("COMMENT ");
        out.text(p, (size_t)(stop - p));
        out.eol();
        if (stop >= end || *stop == '\0')
            break;
        p = stop + 1;
    }
}

void write_properties(Output &out, const bdf_font *font) {
    long long counted = 0;
    for (uint32_t i = 0; i < font->props_used; ++i)
        if (!is_comment_name(font->props[i].name))
            ++counted;
    out.literal("STARTPROPERTIES ");
    out.number(counted);
    out.eol();

    for (uint32_t i = 0; i < font->props_used; ++i) {
        const bdf_property &prop = font->props[i];
        out.text(prop.name ? prop.name : "");
        out.literal(" ");
        if (is_comment_name(prop.name)) {
            // Unquoted, so that a comment reads back exactly as it was.
            if (prop.format == BDF_PROP_ATOM && prop.value.atom)
                out.text(prop.value.atom);
        } else if (prop.format == BDF_PROP_ATOM) {
            out.literal("\"");
            if (prop.value.atom)
                out.text(prop.value.atom);
            out.literal("\"");
        } else if (prop.format == BDF_PROP_CARDINAL) {
            out.number(prop.value.card32);
        } else {
            out.number(prop.value.int32);
        }
        out.eol();
    }
    out.line("ENDPROPERTIES");
}

void write_glyph(Output &out, const bdf_glyph &glyph, int32_t written_encoding, long long fallback_number,
                 uint16_t bpp) {
    out.literal("STARTCHAR ");
    if (glyph.name) {
        out.text(glyph.name);
    } else {
        out.literal("char");
        out.number(fallback_number);
    }
    out.eol();
    out.literal("ENCODING ");
    out.number(written_encoding);
    out.eol();
    out.literal("SWIDTH ");
    out.short_number(glyph.swidth);
    out.literal(" 0");
    out.eol();
    out.literal("DWIDTH ");
    out.short_number(glyph.dwidth);
    out.literal(" 0");
    out.eol();
    out.literal("BBX ");
    out.short_number(glyph.bbx.width);
    out.literal(" ");
    out.short_number(glyph.bbx.height);
    out.literal(" ");
    out.number(glyph.bbx.x_offset);
    out.literal(" ");
    out.number(glyph.bbx.y_offset);
    out.eol();
    out.line("BITMAP");

    uint32_t row_bytes = bdf_row_bytes(glyph.bbx.width, bpp);
    uint32_t have = glyph.bitmap ? glyph.bytes : 0;
    bool whole = (uint64_t)row_bytes * glyph.bbx.height <= have;
    if (row_bytes != 0 && !(whole && out.hex_rows(glyph.bitmap, row_bytes, glyph.bbx.height))) {
        // Exactly height rows; bytes the bitmap lacks are written as zeros so
        // that the text always holds the rows its BBX line promises.
        for (uint32_t row = 0; row < glyph.bbx.height; ++row) {
            if (row != 0)
                out.eol();
            uint64_t start = (uint64_t)row * row_bytes;
            uint32_t present = start >= have ? 0 : (uint32_t)std::min<uint64_t>(row_bytes, have - start);
            out.hex_bytes(glyph.bitmap + (present ? start : 0), present);
            out.zero_hex(row_bytes - present);
        }
    }
    if (glyph.bbx.height != 0)
        out.eol();
    out.line("ENDCHAR");
}

void report(bdf_callback callback, void *client_data, int32_t reason, uint32_t current, uint32_t total) {
    if (callback == nullptr)
        return;
    bdf_progress progress = {reason, current, total, 0};
    callback(&progress, client_data);
}

// The whole font into `out`; false when memory ran out or `out` failed.
bool write_font(Output &out, bdf_font *font, const bdf_options *options, bdf_callback callback,
                void *client_data) {
    bdf_options defaults;
    if (options == nullptr) {
        bdf_default_options(&defaults);
        options = &defaults;
    }
    const bool padded = font->spacing == BDF_SPACING_CELL && options->pad_cells != 0;

    // One scratch cell for the padded copies of a character-cell font, taken
    // at the first glyph: each padded glyph writes twice its size as text, so
    // a font box alone, however large, reserves nothing.
    unsigned char *cell = nullptr;
    uint32_t cell_bytes = 0;
    if (padded) {
        uint64_t size = (uint64_t)bdf_row_bytes(font->bbx.width, font->bpp) * font->bbx.height;
        if (size > UINT32_MAX)
            return false;
        cell_bytes = (uint32_t)size;
    }

    bool memory_ok = true;
    {
        out.line("STARTFONT 2.1");
        write_comments(out, font);
        out.literal("FONT ");
        out.text(font->name ? font->name : "");
        out.eol();
        out.literal("SIZE ");
        out.number(font->point_size);
        out.literal(" ");
        out.number(font->resolution_x);
        out.literal(" ");
        out.number(font->resolution_y);
        if (font->bpp != 1) {
            out.literal(" ");
            out.short_number(font->bpp);
        }
        out.eol();
        out.literal("FONTBOUNDINGBOX ");
        out.short_number(font->bbx.width);
        out.literal(" ");
        out.short_number(font->bbx.height);
        out.literal(" ");
        out.number(font->bbx.x_offset);
        out.literal(" ");
        out.number(font->bbx.y_offset);
        out.eol();
        write_properties(out, font);

        const uint32_t total = font->glyphs_used + font->unencoded_used;
        out.literal("CHARS ");
        out.number(total);
        out.eol();
        report(callback, client_data, 3, 0, total);

        uint32_t written = 0;
        const int32_t common_dwidth = bdf_common_dwidth(font);
        const uint16_t common_swidth = bdf_scalable_width(font, (uint16_t)common_dwidth);
        auto write_list = [&](bdf_glyph *list, uint32_t used, bool encoded) {
            for (uint32_t i = 0; i < used; ++i) {
                bdf_glyph *glyph = &list[i];
                bdf_glyph copy;
                if (padded) {
                    if (!cell && cell_bytes != 0 && !(cell = (unsigned char *)malloc(cell_bytes))) {
                        memory_ok = false;
                        return;
                    }
                    copy = *glyph;
                    copy.bbx = font->bbx;
                    copy.bitmap = cell;
                    copy.bytes = cell_bytes;
                    if (cell)
                        bdf_pad_glyph(glyph, &font->bbx, font->bpp, cell, cell_bytes);
                    glyph = &copy;
                } else if (!bdf_crop_glyph(glyph, font->bpp)) {
                    memory_ok = false;
                }
                if (common_dwidth >= 0) {
                    glyph->dwidth = (uint16_t)common_dwidth;
                    glyph->swidth = common_swidth;
                }
                write_glyph(out, *glyph, encoded ? glyph->encoding : -1,
                            encoded ? glyph->encoding : (long long)i, font->bpp);
                report(callback, client_data, 4, ++written, total);
            }
        };
        write_list(font->glyphs, font->glyphs_used, true);
        write_list(font->unencoded, font->unencoded_used, false);

        out.line("ENDFONT");
        out.flush();
        report(callback, client_data, 4, total, total);
        memory_ok = memory_ok && out.ok();
    }
    free(cell);
    return memory_ok;
}

} // namespace

int bdf_save_font(FILE *file, bdf_font *font, const bdf_options *options, bdf_callback callback,
                  void *client_data) {
    if (file == nullptr || font == nullptr)
        return 0;
    Output out(file, eol_text(options ? options->eol : BDF_EOL_LF));
    const bool ok = write_font(out, font, options, callback, client_data);
    out.flush();
    return ok && !ferror(file) ? 1 : 0;
}

char *bdf_save_font_text(bdf_font *font, const bdf_options *options, size_t *length) {
    if (font == nullptr)
        return nullptr;
    std::string text;
    {
        Output out(&text, eol_text(options ? options->eol : BDF_EOL_LF));
        if (!write_font(out, font, options, nullptr, nullptr))
            return nullptr;
    }
    char *copy = (char *)malloc(text.size() + 1);
    if (copy == nullptr)
        return nullptr;
    memcpy(copy, text.c_str(), text.size() + 1);
    if (length)
        *length = text.size();
    return copy;
}



namespace {

// The mode a new file gets: that of the file it replaces, else the default
// for new files under the process's umask.
mode_t mode_for(const char *path) {
    struct stat st;
    if (stat(path, &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

int save_path(const char *path, bdf_font *font, bool sync) {
    if (path == nullptr || *path == '\0' || font == nullptr)
        return 0;

    // Write beside the real file when the path is a symbolic link, so the
    // rename replaces the file and keeps the link.
    std::string target = path;
    if (char *resolved = realpath(path, nullptr)) {
        target = resolved;
        free(resolved);
    }
    std::string temp = target + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return 0;
    bool ok = fchmod(fd, mode_for(target.c_str())) == 0;
    FILE *file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
        unlink(temp.c_str());
        return 0;
    }
    ok = bdf_save_font(file, font, &bdf_global_options, nullptr, nullptr) && ok;
    ok = fflush(file) == 0 && ok;
    ok = (!sync || fsync(fileno(file)) == 0) && ok;
    ok = fclose(file) == 0 && ok;
    if (ok)
        ok = rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        unlink(temp.c_str());
    return ok ? 1 : 0;
}

} // namespace

int bdf_save_font_path(const char *path, bdf_font *font) { return save_path(path, font, true); }

int bdf_save_font_path_unsynced(const char *path, bdf_font *font) {
    return save_path(path, font, false);
}
