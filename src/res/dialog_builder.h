#ifndef GLYPHWERK_RES_DIALOG_BUILDER_H
#define GLYPHWERK_RES_DIALOG_BUILDER_H

// Turns a DialogTemplate into Qt widgets. Rectangles are converted from dialog
// units with the base units of the template's font (average character width
// and height), the way classic dialog managers do: x * baseX / 4, y * baseY / 8.
// Every control gets its numeric id as the dynamic property "controlId" and its
// symbol as object name, so code and tests find it with controlById().

#include "dialog_template.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>

namespace res {

inline constexpr const char *kControlIdProperty = "controlId";

// The template's font at 96 logical dots per inch. When the face is not
// installed, the application's default family stands in, at the same size.
QFont templateFont(const DialogTemplate &dialog);

// Horizontal and vertical base units of `font`: the rounded average width of
// the 52 letters A-Z a-z, and the line height.
QSize baseUnits(const QFont &font);

// A dialog-unit rectangle in pixels for the given base units (rounded like MulDiv).
QRect dialogUnitsToPixels(int x, int y, int cx, int cy, QSize base);

struct BuildOptions {
    // Called first for every control; a non-null widget (a child of `parent`)
    // replaces the default widget for that kind. Ids, names, geometry and flags
    // are applied to it all the same.
    std::function<QWidget *(const ControlTemplate &, QWidget *parent)> createControl;
};

// Creates the template's controls as children of `dialog`, in template order
// (which is also the tab order), sets the font, caption and size. A dialog
// with a caption gets a fixed size; a child form (no caption) is only resized.
// Radio buttons are grouped from a control with the Group flag (or the first
// radio after another kind) up to the next Group control, as one QButtonGroup.
// Returns the base units used.
QSize buildDialog(const DialogTemplate &dialog, QWidget *target, const BuildOptions &options = {});

// The base units with which `dialog` was built (an invalid size when it was not).
QSize dialogBaseUnits(const QWidget *dialog);

// The control with numeric id `id` among the descendants of `dialog`, cast to
// T; null when there is none or it is not a T.
QWidget *findControl(const QWidget *dialog, int id);
template <typename T = QWidget> T *controlById(const QWidget *dialog, int id) {
    return dynamic_cast<T *>(findControl(dialog, id));
}

} // namespace res

#endif
