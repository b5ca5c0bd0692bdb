#ifndef GLYPHWERK_BROWSER_FONT_DOCUMENT_H
#define GLYPHWERK_BROWSER_FONT_DOCUMENT_H

// What the font view needs of the document that owns the open font.

#include "bdf.h"

#include <QString>

class CFontDocument {
public:
    virtual ~CFontDocument() = default;
    // The open font (m_pFont), or null.
    virtual bdf_font *Font() const = 0;
    // m_bFontLoaded: Save, Save As and Find are enabled exactly when it is set.
    virtual bool FontLoaded() const = 0;
    // The document's full path name; empty for an untitled document.
    virtual QString PathName() const = 0;
    virtual void SetModifiedFlag(bool modified = true) = 0;
    // The editor wrote a change into the glyph with `encoding` (-1 when the view
    // knows of no edited glyph): the document is modified.
    virtual void GlyphChanged(int32_t encoding) {
        (void)encoding;
        SetModifiedFlag(true);
    }
};

#endif
