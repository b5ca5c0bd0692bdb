#include "preview_layout.h"

#include "glyph_table.h"

#include <QPainter>

#include <algorithm>
#include <climits>

namespace {

// The glyph with `encoding`; the encoded list is sorted by encoding.
const bdf_glyph *glyphOf(const bdf_font *font, qint64 encoding) {
    const bdf_glyph *begin = font->glyphs;
    const bdf_glyph *end = begin + font->glyphs_used;
    const bdf_glyph *found = std::lower_bound(
        begin, end, encoding, [](const bdf_glyph &glyph, qint64 wanted) { return glyph.encoding < wanted; });
    return found != end && found->encoding == encoding ? found : nullptr;
}

// A box in font coordinates: x to the right of the line's origin, y up from
// the baseline. 64 bits wide, so that a long line of huge glyphs cannot overflow.
struct FontBox {
    qint64 left, bottom, width, height;
};

int saturated(qint64 value) { return int(std::clamp<qint64>(value, INT_MIN, INT_MAX)); }

} // namespace

CPreviewLayout::CPreviewLayout(const bdf_font *font, QStringView text) : m_nBitsPerPixel(font->bpp) {
    const bdf_bbx &fontBox = font->bbx;
    const bdf_glyph *fallback = font->default_glyph >= 0 ? glyphOf(font, font->default_glyph) : nullptr;

    std::vector<FontBox> boxes;
    qint64 pen = 0, left = 0, right = 0;
    qint64 top = std::max(0, fontBox.y_offset + fontBox.height), bottom = std::min(0, int(fontBox.y_offset));
    for (char32_t character : text.toUcs4()) {
        const bdf_glyph *glyph = character <= 0xFFFF ? glyphOf(font, character) : nullptr;
        if (!glyph)
            glyph = fallback;
        const FontBox box = glyph ? FontBox{pen + glyph->bbx.x_offset, glyph->bbx.y_offset, glyph->bbx.width,
                                            glyph->bbx.height}
                                  : FontBox{pen, fontBox.y_offset, fontBox.width, fontBox.height};
        pen += glyph ? glyph->dwidth : fontBox.width;
        left = std::min(left, box.left);
        right = std::max({right, box.left + box.width, pen});
        top = std::max(top, box.bottom + box.height);
        bottom = std::min(bottom, box.bottom);
        m_placements.push_back({character, glyph, QRect()});
        boxes.push_back(box);
    }
    m_size = QSize(saturated(std::max<qint64>(1, right - left)), saturated(std::max<qint64>(1, top - bottom)));
    m_nBaseline = saturated(top);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const FontBox &box = boxes[i];
        m_placements[i].box = QRect(saturated(box.left - left), saturated(top - (box.bottom + box.height)),
                                    saturated(box.width), saturated(box.height));
    }
}

QImage CPreviewLayout::Render(int zoom) const {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (qint64(m_size.width()) * m_size.height() * zoom * zoom > kMaxPixels)
        return {};
    QImage line(m_size, QImage::Format_RGB32);
    line.fill(CGlyphTable::kBackground);
    for (const PreviewPlacement &placement : m_placements)
        if (placement.glyph)
            CGlyphTable::DrawBitmap(line, placement.box.left(), placement.box.top(), placement.glyph,
                                    m_nBitsPerPixel);
    QPainter painter(&line);
    const QColor ink(CGlyphTable::kInk);
    for (const PreviewPlacement &placement : m_placements) {
        const QRect &box = placement.box;
        if (placement.glyph || box.isEmpty())
            continue;
        painter.fillRect(box.left(), box.top(), box.width(), 1, ink); // the empty box's outline
        painter.fillRect(box.left(), box.bottom(), box.width(), 1, ink);
        painter.fillRect(box.left(), box.top(), 1, box.height(), ink);
        painter.fillRect(box.right(), box.top(), 1, box.height(), ink);
    }
    painter.end();
    return zoom == 1 ? line : line.scaled(m_size * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
