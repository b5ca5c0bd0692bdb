#include "glyph_clipboard.h"

#include "font_ptr.h"
#include "glyph_edit.h"
#include "glyph_table.h"
#include "metrics.h"

#include <QBuffer>
#include <QMimeData>

#include <cstdlib>

namespace glyph_clipboard {

namespace {

const QString kNoGlyph =
    QStringLiteral("The clipboard holds no BDF glyph (STARTCHAR ... ENDCHAR) and no image to paste.");

// The only glyph of `font` (encoded or not) into `*glyph`; else the reason why not.
bool OnlyGlyph(const bdf_font *font, bdf_glyph *glyph, QString *error) {
    const uint32_t count = font->glyphs_used + font->unencoded_used;
    if (font->stop_line != 0) {
        *error = QStringLiteral("The clipboard's BDF text is damaged: it could not be read to its end.");
        return false;
    }
    if (count != 1) {
        *error = count == 0 ? kNoGlyph
                            : QStringLiteral("The clipboard holds %1 glyphs; Paste Glyph takes one.").arg(count);
        return false;
    }
    const bdf_glyph &only = font->glyphs_used ? font->glyphs[0] : font->unencoded[0];
    if (!bdf_copy_glyph(glyph, &only)) {
        *error = QStringLiteral("Out of memory.");
        return false;
    }
    return true;
}

} // namespace

QMimeData *Copy(const bdf_font *font, const bdf_glyph *glyph) {
    FontPtr single(bdf_glyph_font(font, glyph));
    if (!single)
        return nullptr;
    size_t length = 0;
    char *text = bdf_save_font_text(single.get(), &bdf_global_options, &length);
    if (!text)
        return nullptr;
    const QByteArray bdf(text, qsizetype(length));
    free(text);
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kBdfMimeType), bdf);
    const qsizetype start = bdf.indexOf("STARTCHAR");
    const qsizetype end = bdf.lastIndexOf("ENDFONT");
    data->setText(QString::fromLatin1(bdf.mid(start, end - start)));
    // Saving cropped the single font's glyph to its ink: the image shows that.
    const QImage image = ToImage(single->glyphs[0], single->bpp);
    if (!image.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        data->setData(QStringLiteral("image/png"), png);
    }
    return data;
}

bool CanPaste(const QMimeData *data) {
    return data && (data->hasFormat(QString::fromLatin1(kBdfMimeType)) || data->hasText() || data->hasImage());
}

bool Paste(const QMimeData *data, const bdf_font *font, bdf_glyph *glyph, QString *error) {
    QByteArray text;
    if (data && data->hasFormat(QString::fromLatin1(kBdfMimeType)))
        text = data->data(QString::fromLatin1(kBdfMimeType));
    else if (data && data->hasText() && (data->text().contains(QLatin1String("STARTCHAR")) || !data->hasImage()))
        text = data->text().toLatin1();
    if (text.isEmpty()) {
        const QImage image = data && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
        if (image.isNull()) {
            *error = kNoGlyph;
            return false;
        }
        if (!FromImage(image, font->bpp, glyph)) {
            *error = QStringLiteral("Out of memory.");
            return false;
        }
        return true;
    }
    FontPtr read(bdf_load_glyph_text(text.constData(), size_t(text.size()), font->bpp));
    if (!read) {
        *error = kNoGlyph;
        return false;
    }
    if (!OnlyGlyph(read.get(), glyph, error))
        return false;
    if (!bdf_convert_glyph_depth(glyph, read->bpp, font->bpp)) {
        bdf_free_glyph(glyph);
        *error = QStringLiteral("Out of memory.");
        return false;
    }
    return true;
}

QImage ToImage(const bdf_glyph &glyph, int bpp) {
    const int width = glyph.bbx.width, height = glyph.bbx.height;
    if (width == 0 || height == 0 || !glyph.bitmap ||
        uint64_t(bdf_row_bytes(glyph.bbx.width, uint32_t(bpp))) * height > glyph.bytes)
        return {};
    // The table's own drawing: black ink on white paper, its greys for 2 and 4 bits.
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(CGlyphTable::kBackground);
    CGlyphTable::DrawBitmap(image, 0, 0, &glyph, bpp);
    return image;
}

bool FromImage(const QImage &image, int bpp, bdf_glyph *glyph) {
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    const int width = std::min(pixels.width(), 0xFFFF), height = std::min(pixels.height(), 0xFFFF);
    const uint32_t rowBytes = bdf_row_bytes(uint32_t(width), uint32_t(bpp));
    const uint64_t bytes = uint64_t(rowBytes) * uint32_t(height);
    auto *bitmap = static_cast<unsigned char *>(bytes ? calloc(size_t(bytes), 1) : nullptr);
    if (bytes && !bitmap)
        return false;
    const unsigned maximum = (1u << bpp) - 1;
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            // Darkness over white paper, rounded to the nearest level.
            const int alpha = qAlpha(line[x]);
            const int darkness = (255 - qGray(line[x])) * alpha / 255;
            const unsigned level = (unsigned(darkness) * maximum + 127) / 255;
            const int bit = x * bpp;
            bitmap[size_t(y) * rowBytes + size_t(bit / 8)] |= static_cast<unsigned char>(level << (8 - bpp - bit % 8));
        }
    }
    *glyph = bdf_glyph{};
    glyph->bitmap = bitmap;
    glyph->bytes = uint32_t(bytes);
    glyph->bbx.width = uint16_t(width);
    glyph->bbx.height = uint16_t(height);
    glyph->bbx.ascent = int16_t(height);
    glyph->dwidth = uint16_t(width);
    return true;
}

} // namespace glyph_clipboard
