#ifndef GLYPHWERK_BROWSER_KEYLESS_SCROLL_BAR_H
#define GLYPHWERK_BROWSER_KEYLESS_SCROLL_BAR_H

// The glyph table's vertical scroll bar. It never reacts to the keyboard
// itself: key presses go on to the font view, which moves the selection.

#include "glyph_table.h"

#include <QScrollBar>

class CKeylessScrollBar : public QScrollBar, public CTableScrollBar {
    Q_OBJECT
public:
    explicit CKeylessScrollBar(QWidget *parent);

    void SetScrollRange(int minimum, int maximum) override;
    void ShowScrollBar(bool show) override;
    void PlaceAtParentRightEdge(int top, int height) override;
    void SetScrollPos(int position) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

#endif
