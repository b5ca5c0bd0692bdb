#ifndef GLYPHWERK_BROWSER_GLYPH_EDITOR_HOOK_H
#define GLYPHWERK_BROWSER_GLYPH_EDITOR_HOOK_H

// The one seam between the font view and the glyph editor (CGlyphEditDlg,
// src/editor). The application fills it; while it is empty a double-click
// only selects.

#include "bdf.h"

#include <QWidget>
#include <functional>

struct GlyphEditorHook {
    // Creates the modeless editor (template 131) with the view as parent. The
    // editor calls `glyphChanged` (the view's WM_GLYPH_CHANGED handler)
    // synchronously after each change it writes into a glyph.
    std::function<QWidget *(QWidget *view, std::function<void()> glyphChanged)> create;
    // Starts editing `glyph` of the open font `font`.
    std::function<void(QWidget *editor, bdf_glyph *glyph, const bdf_font *font)> setGlyph;
    // Makes the editor forget the glyph and every pointer into its font.
    std::function<void(QWidget *editor)> detach;
    // Before the editor's changes not yet applied would be dropped: it asks
    // whether to apply them. False when the user cancels.
    std::function<bool(QWidget *editor)> resolvePending;
    // The glyph being edited moved in memory (glyphs were inserted or removed
    // around it): the editor goes on at `glyph`, keeping its history and its
    // changes not yet applied. Optional.
    std::function<void(QWidget *editor, bdf_glyph *glyph)> rebind = nullptr;
};

#endif
