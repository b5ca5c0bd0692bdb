#include "glyph_commands.h"

#include "glyph_edit.h"

#include <algorithm>

CGlyphListCommand::CGlyphListCommand(CGlyphCommandTarget *target, bdf_glyph *glyph, const QString &text)
    : CGlyphCommand(target, glyph->encoding, text), m_bInsert(true), m_held(*glyph) {
    *glyph = bdf_glyph{};
}

CGlyphListCommand::CGlyphListCommand(CGlyphCommandTarget *target, int32_t encoding, const QString &text)
    : CGlyphCommand(target, encoding, text), m_bInsert(false) {}

CGlyphListCommand::~CGlyphListCommand() { bdf_free_glyph(&m_held); }

void CGlyphListCommand::redo() { m_bInsert ? PutIn() : TakeOut(); }

void CGlyphListCommand::undo() { m_bInsert ? TakeOut() : PutIn(); }

void CGlyphListCommand::PutIn() {
    const int32_t index = bdf_insert_glyph(m_pTarget->Font(), &m_held);
    if (index >= 0)
        m_pTarget->OnGlyphsEdited(m_nEncoding, false, index);
}

void CGlyphListCommand::TakeOut() {
    bdf_font *font = m_pTarget->Font();
    const int32_t index = bdf_find_glyph(font, m_nEncoding);
    if (index < 0 || !bdf_remove_glyph(font, uint32_t(index), &m_held))
        return;
    // The glyph that now holds its place, or the last one.
    m_pTarget->OnGlyphsEdited(m_nEncoding, false, std::min<int>(index, int(font->glyphs_used) - 1));
}

CReplaceGlyphCommand::CReplaceGlyphCommand(CGlyphCommandTarget *target, bdf_glyph *before, bdf_glyph *after,
                                           bool applied, const QString &text)
    : CGlyphCommand(target, before->encoding, text), m_before(*before), m_after(*after), m_bApplied(applied) {
    *before = bdf_glyph{};
    *after = bdf_glyph{};
}

CReplaceGlyphCommand::~CReplaceGlyphCommand() {
    bdf_free_glyph(&m_before);
    bdf_free_glyph(&m_after);
}

void CReplaceGlyphCommand::redo() {
    if (m_bApplied) {
        m_bApplied = false;
        return;
    }
    Apply(m_after);
}

void CReplaceGlyphCommand::undo() { Apply(m_before); }

void CReplaceGlyphCommand::Apply(const bdf_glyph &glyph) {
    bdf_font *font = m_pTarget->Font();
    const int32_t index = bdf_find_glyph(font, glyph.encoding);
    if (index >= 0 && bdf_copy_glyph(&font->glyphs[index], &glyph))
        m_pTarget->OnGlyphsEdited(glyph.encoding, true, index);
}
