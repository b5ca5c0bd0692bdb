#ifndef GLYPHWERK_APP_GLYPH_CLIPBOARD_H
#define GLYPHWERK_APP_GLYPH_CLIPBOARD_H

// A glyph on the clipboard, in three forms: as application/x-font-bdf, a
// one-glyph BDF font (the glyph block as Save writes it, with the header that
// tells its bit depth); as plain text, the glyph block alone (STARTCHAR to
// ENDCHAR); and as image/png, one pixel per font pixel, black on white, grey
// for the levels of 2 and 4 bits per pixel. Paste reads the first of these it
// finds in that order; BDF text from elsewhere may hold a whole font or a bare
// block.

#include "bdf.h"

#include <QImage>
#include <QString>

class QMimeData;

namespace glyph_clipboard {

inline constexpr char kBdfMimeType[] = "application/x-font-bdf";

// The forms of `glyph` of `font`; null when memory ran out.
QMimeData *Copy(const bdf_font *font, const bdf_glyph *glyph);

// Whether `data` holds a form Paste reads (its content is checked by Paste).
bool CanPaste(const QMimeData *data);

// The glyph in `data` at the depth of `font`, with its bitmap, box and widths,
// into `*glyph` (the caller frees it with bdf_free_glyph). False, with the
// message to show in `*error`, when `data` holds no glyph Paste can take.
bool Paste(const QMimeData *data, const bdf_font *font, bdf_glyph *glyph, QString *error);

// The image form of a glyph of depth `bpp`; null for a glyph without pixels.
QImage ToImage(const bdf_glyph &glyph, int bpp);
// A glyph drawn as `image`: its darkness as levels of depth `bpp`, its bottom
// row on the baseline and its left column at the origin, as wide as it
// advances. False when memory ran out.
bool FromImage(const QImage &image, int bpp, bdf_glyph *glyph);

} // namespace glyph_clipboard

#endif
