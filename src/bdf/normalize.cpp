#include "normalize.h"

#include "metrics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Bit position of the pixel at `column` inside its byte, counted from the least
// significant bit: the leftmost pixel sits in the most significant bits.
inline unsigned shift_of(uint32_t column, uint16_t bpp) {
    unsigned per_byte = 8u / bpp;
    return (per_byte - 1u - column % per_byte) * bpp;
}

inline void set_pixel(unsigned char *bitmap, uint32_t row_bytes, uint32_t row, uint32_t column,
                      uint16_t bpp, unsigned value) {
    unsigned per_byte = 8u / bpp;
    bitmap[(size_t)row * row_bytes + column / per_byte] |=
        (unsigned char)(value << shift_of(column, bpp));
}

struct InkBox {
    uint32_t min_x, max_x, min_y, max_y;
    bool any;
};

InkBox find_ink(const bdf_glyph *glyph, uint16_t bpp) {
    InkBox ink = {UINT32_MAX, 0, UINT32_MAX, 0, false};
    uint32_t row_bytes = bdf_row_bytes(glyph->bbx.width, bpp);
    if (row_bytes == 0 || glyph->bitmap == nullptr)
        return ink;
    uint32_t rows = glyph->bbx.height;
    if ((uint64_t)rows * row_bytes > glyph->bytes)
        rows = glyph->bytes / row_bytes;
    for (uint32_t y = 0; y < rows; ++y) {
        const unsigned char *line = glyph->bitmap + (size_t)y * row_bytes;
        // Whole zero bytes are skipped; only bytes with ink are looked at pixel by pixel.
        for (uint32_t b = 0; b < row_bytes; ++b) {
            if (line[b] == 0)
                continue;
            uint32_t first = b * (8u / bpp);
            for (uint32_t x = first; x < first + 8u / bpp && x < glyph->bbx.width; ++x) {
                if (bdf_glyph_pixel(glyph, y, x, bpp) == 0)
                    continue;
                ink.any = true;
                if (x < ink.min_x) ink.min_x = x;
                if (x > ink.max_x) ink.max_x = x;
                if (y < ink.min_y) ink.min_y = y;
                if (y > ink.max_y) ink.max_y = y;
            }
        }
    }
    return ink;
}

} // namespace

unsigned bdf_glyph_pixel(const bdf_glyph *glyph, uint32_t row, uint32_t column, uint16_t bpp) {
    if (bpp != 1 && bpp != 2 && bpp != 4)
        return 0;
    uint32_t row_bytes = bdf_row_bytes(glyph->bbx.width, bpp);
    uint64_t index = (uint64_t)row * row_bytes + column / (8u / bpp);
    if (glyph->bitmap == nullptr || index >= glyph->bytes)
        return 0;
    return (glyph->bitmap[index] >> shift_of(column, bpp)) & ((1u << bpp) - 1u);
}

int bdf_crop_glyph(bdf_glyph *glyph, uint16_t bpp) {
    InkBox ink = find_ink(glyph, bpp);
    if (!ink.any) {
        free(glyph->bitmap);
        glyph->bitmap = nullptr;
        glyph->bytes = 0;
        glyph->bbx = bdf_bbx{};
        return 1;
    }

    bdf_bbx box;
    box.x_offset = (int16_t)(glyph->bbx.x_offset + (int32_t)ink.min_x);
    box.width = (uint16_t)(ink.max_x - ink.min_x + 1);
    box.ascent = (int16_t)(glyph->bbx.ascent - (int32_t)ink.min_y);
    box.height = (uint16_t)(ink.max_y - ink.min_y + 1);
    box.descent = (int16_t)(box.height - box.ascent);
    box.y_offset = (int16_t)-box.descent;

    const bdf_bbx &old = glyph->bbx;
    if (memcmp(&box, &old, sizeof box) == 0)
        return 1;
    uint32_t old_row_bytes = bdf_row_bytes(old.width, bpp);
    uint32_t row_bytes = bdf_row_bytes(box.width, bpp);
    // Blank columns that do not change the row size are kept as they are.
    if (row_bytes == old_row_bytes && box.height == old.height)
        return 1;

    uint32_t bytes = row_bytes * box.height;
    unsigned char *bitmap = (unsigned char *)calloc(bytes, 1);
    if (bitmap == nullptr)
        return 0;
    for (uint32_t y = 0; y < box.height; ++y)
        for (uint32_t x = 0; x < box.width; ++x) {
            unsigned value = bdf_glyph_pixel(glyph, ink.min_y + y, ink.min_x + x, bpp);
            if (value != 0)
                set_pixel(bitmap, row_bytes, y, x, bpp, value);
        }
    free(glyph->bitmap);
    glyph->bitmap = bitmap;
    glyph->bytes = bytes;
    glyph->bbx = box;
    return 1;
}

void bdf_pad_glyph(const bdf_glyph *glyph, const bdf_bbx *box, uint16_t bpp, unsigned char *cell,
                   uint32_t cell_bytes) {
    memset(cell, 0, cell_bytes);
    if (glyph->bbx.width == box->width && glyph->bbx.height == box->height) {
        uint32_t n = glyph->bytes < cell_bytes ? glyph->bytes : cell_bytes;
        if (n != 0 && glyph->bitmap != nullptr)
            memcpy(cell, glyph->bitmap, n);
        return;
    }
    if ((bpp != 1 && bpp != 2 && bpp != 4) || glyph->bitmap == nullptr)
        return;
    uint32_t cell_row_bytes = bdf_row_bytes(box->width, bpp);
    uint32_t row_bytes = bdf_row_bytes(glyph->bbx.width, bpp);
    int32_t dx = glyph->bbx.x_offset - box->x_offset;
    if (dx < 0)
        dx = -dx;
    if ((uint32_t)dx >= box->width)
        return;
    // Each row moves whole as a string of bits: the pixels that fit in the
    // cell, shifted right by dx pixels. Bits past the glyph's width are masked
    // off, so the padding bits of its rows never reach the cell.
    uint32_t pixels = std::min<uint32_t>(glyph->bbx.width, box->width - (uint32_t)dx);
    uint32_t bits = pixels * bpp;
    uint32_t shift = (uint32_t)dx * bpp;
    uint32_t whole = shift / 8, part = shift % 8;
    int32_t top = (int32_t)box->y_offset + box->ascent + box->descent - glyph->bbx.ascent;
    for (uint32_t y = 0; y < glyph->bbx.height; ++y) {
        int64_t cell_y = (int64_t)top + y;
        if (cell_y < 0 || cell_y >= box->height)
            continue;
        uint64_t start = (uint64_t)y * row_bytes;
        if (start >= glyph->bytes)
            break;
        const unsigned char *in = glyph->bitmap + start;
        // Bytes past the end of the bitmap read as 0.
        uint32_t n = (bits + 7) / 8;
        if (start + n > glyph->bytes)
            n = (uint32_t)(glyph->bytes - start);
        unsigned char *out = cell + (size_t)cell_y * cell_row_bytes + whole;
        for (uint32_t i = 0; i < n; ++i) {
            unsigned byte = in[i];
            if (8 * (i + 1) > bits)
                byte &= 0xFFu << (8 * (i + 1) - bits);
            out[i] |= (unsigned char)(byte >> part);
            // Bits carried into the next byte are pixels inside the cell row.
            unsigned char carry = (unsigned char)(byte << (8 - part));
            if (part != 0 && carry != 0)
                out[i + 1] |= carry;
        }
    }
}
