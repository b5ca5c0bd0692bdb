#ifndef GLYPHWERK_APP_GLYPH_COMMANDS_H
#define GLYPHWERK_APP_GLYPH_COMMANDS_H

// The font-wide edits that Undo and Redo walk through: a glyph put into the
// font or taken out of it, and a glyph given another shape. Each finds its
// glyph by encoding, which is unique in the encoded list, and keeps what it
// needs to go both ways as glyph records of its own, never pointers into the
// font, whose glyph list moves in memory as glyphs come and go.

#include "bdf.h"

#include <QUndoCommand>

// What the commands act on: the document's font, and whom to tell.
class CGlyphCommandTarget {
public:
    virtual ~CGlyphCommandTarget() = default;
    virtual bdf_font *Font() const = 0;
    // A command changed the glyph with `encoding`: `reshaped` when it still
    // exists with another shape, `select` the index to select (-1 none).
    virtual void OnGlyphsEdited(int32_t encoding, bool reshaped, int select) = 0;
};

// One step of the history: it changes the glyph with one encoding.
class CGlyphCommand : public QUndoCommand {
public:
    CGlyphCommand(CGlyphCommandTarget *target, int32_t encoding, const QString &text)
        : QUndoCommand(text), m_pTarget(target), m_nEncoding(encoding) {}
    int32_t Encoding() const { return m_nEncoding; }

protected:
    CGlyphCommandTarget *m_pTarget;
    int32_t m_nEncoding;
};

// New Glyph (redo puts the glyph in, undo takes it out) or Delete Glyph (the
// other way round).
class CGlyphListCommand : public CGlyphCommand {
public:
    // New Glyph: `glyph` is moved into the command, and from there into the font.
    CGlyphListCommand(CGlyphCommandTarget *target, bdf_glyph *glyph, const QString &text);
    // Delete Glyph: the glyph with `encoding` leaves the font.
    CGlyphListCommand(CGlyphCommandTarget *target, int32_t encoding, const QString &text);
    ~CGlyphListCommand() override;

    void redo() override;
    void undo() override;

private:
    void PutIn();
    void TakeOut();

    bool m_bInsert;
    bdf_glyph m_held{}; // the glyph while it is out of the font
};

// Paste Glyph and each OK of the glyph editor: the glyph with the encoding of
// `before` and `after` changes from the one to the other.
class CReplaceGlyphCommand : public CGlyphCommand {
public:
    // Both glyphs are moved into the command. `applied`: the font holds `after`
    // already (the editor wrote it), so the first redo changes nothing.
    CReplaceGlyphCommand(CGlyphCommandTarget *target, bdf_glyph *before, bdf_glyph *after, bool applied,
                         const QString &text);
    ~CReplaceGlyphCommand() override;

    void redo() override;
    void undo() override;

private:
    void Apply(const bdf_glyph &glyph);

    bdf_glyph m_before{};
    bdf_glyph m_after{};
    bool m_bApplied;
};

#endif
