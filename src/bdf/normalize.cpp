#include "normalize.h"

#include "metrics.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace {

struct InkBox {
    uint32_t min_x, max_x, min_y, max_y;
    bool any;
};

InkBox find_ink(const bdf_glyph *glyph, uint16_t bpp) {
    InkBox ink = {UINT32_MAX, 0, UINT32_MAX, 0, false};
    uint32_t row_bytes = bdf_row_bytes(glyph->bbx.width, bpp);
    if (row_bytes == 0 || glyph->bitmap == nullptr || (bpp != 1 && bpp != 2 && bpp != 4))
        return ink;
    uint32_t rows = glyph->bbx.height;
    if ((uint64_t)rows * row_bytes > glyph->bytes)
        rows = glyph->bytes / row_bytes;
    // The padding bits behind the last pixel of a row are no ink.
    uint32_t tail_bits = glyph->bbx.width * bpp % 8;
    unsigned char last_mask = tail_bits ? (unsigned char)(0xFF << (8 - tail_bits)) : 0xFF;
    uint32_t per_byte = 8u / bpp;
    for (uint32_t y = 0; y < rows; ++y) {
        const unsigned char *line = glyph->bitmap + (size_t)y * row_bytes;
        auto byte = [&](uint32_t b) {
            return (unsigned char)(b + 1 == row_bytes ? line[b] & last_mask : line[b]);
        };
        // The first and last bytes with ink give the row's leftmost and
        // rightmost pixels with ink.
        uint32_t first = 0;
        while (first < row_bytes && byte(first) == 0)
            ++first;
        if (first == row_bytes)
            continue;
        uint32_t last = row_bytes - 1;
        while (byte(last) == 0)
            --last;
        uint32_t min_x = first * per_byte + (uint32_t)std::countl_zero(byte(first)) / bpp;
        uint32_t max_x = last * per_byte + (7u - (uint32_t)std::countr_zero(byte(last))) / bpp;
        ink.any = true;
        ink.min_x = std::min(ink.min_x, min_x);
        ink.max_x = std::max(ink.max_x, max_x);
        ink.min_y = std::min(ink.min_y, y);
        ink.max_y = y;
    }
    return ink;
}

// The box of the glyph's ink: all zero without ink; the glyph's own box when
// the ink box has the same row size and height (blank columns that do not
// change the row size are kept).
bdf_bbx cropped_box(const bdf_glyph *glyph, const InkBox &ink, uint16_t bpp) {
    if (!ink.any)
        return bdf_bbx{};
    bdf_bbx box;
    box.x_offset = (int16_t)(glyph->bbx.x_offset + (int32_t)ink.min_x);
    box.width = (uint16_t)(ink.max_x - ink.min_x + 1);
    box.ascent = (int16_t)(glyph->bbx.ascent - (int32_t)ink.min_y);
    box.height = (uint16_t)(ink.max_y - ink.min_y + 1);
    box.descent = (int16_t)(box.height - box.ascent);
    box.y_offset = (int16_t)-box.descent;
    const bdf_bbx &old = glyph->bbx;
    if (bdf_row_bytes(box.width, bpp) == bdf_row_bytes(old.width, bpp) && box.height == old.height)
        return old;
    return box;
}

// ORs `bits` bits of `in`, from bit `skip` on, into `out` from its first bit.
void copy_bits_left(unsigned char *out, const unsigned char *in, uint32_t skip, uint32_t bits) {
    in += skip / 8;
    unsigned part = skip % 8;
    uint32_t n = (bits + 7) / 8;
    for (uint32_t j = 0; j < n; ++j) {
        unsigned value = (unsigned)in[j] << part;
        // The byte behind holds needed bits only when some remain after this one.
        if (part != 0 && 8 * j + (8 - part) < bits)
            value |= in[j + 1] >> (8 - part);
        if (8 * (j + 1) > bits)
            value &= 0xFFu << (8 * (j + 1) - bits);
        out[j] |= (unsigned char)value;
    }
}

} // namespace

bdf_bbx bdf_cropped_box(const bdf_glyph *glyph, uint16_t bpp) {
    return cropped_box(glyph, find_ink(glyph, bpp), bpp);
}

int bdf_crop_glyph(bdf_glyph *glyph, uint16_t bpp) {
    InkBox ink = find_ink(glyph, bpp);
    bdf_bbx box = cropped_box(glyph, ink, bpp);
    if (!ink.any) {
        free(glyph->bitmap);
        glyph->bitmap = nullptr;
        glyph->bytes = 0;
        glyph->bbx = box;
        return 1;
    }
    const bdf_bbx &old = glyph->bbx;
    if (memcmp(&box, &old, sizeof box) == 0)
        return 1;
    uint32_t old_row_bytes = bdf_row_bytes(old.width, bpp);
    uint32_t row_bytes = bdf_row_bytes(box.width, bpp);
    uint32_t bytes = row_bytes * box.height;
    unsigned char *bitmap = (unsigned char *)calloc(bytes, 1);
    if (bitmap == nullptr)
        return 0;
    // Each row of the ink box moves whole as a string of bits.
    for (uint32_t y = 0; y < box.height; ++y)
        copy_bits_left(bitmap + (size_t)y * row_bytes,
                       glyph->bitmap + (size_t)(ink.min_y + y) * old_row_bytes, ink.min_x * bpp,
                       (uint32_t)box.width * bpp);
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
