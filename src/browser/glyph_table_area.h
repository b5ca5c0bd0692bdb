#ifndef GLYPHWERK_BROWSER_GLYPH_TABLE_AREA_H
#define GLYPHWERK_BROWSER_GLYPH_TABLE_AREA_H

// IDC_GLYPH_TABLE: a thin-bordered frame whose client area shows the glyph
// table's page. It takes no mouse input (clicks reach the view). A repaint
// after Invalidate() has the view draw the table again (relayout and page);
// any other repaint shows the page the table last composed.

#include "glyph_table.h"

#include <QFrame>
#include <functional>

class CGlyphTableArea : public QFrame, public CTableArea {
    Q_OBJECT
public:
    CGlyphTableArea(QWidget *parent, const CGlyphTable &table, std::function<void()> onDraw);

    QSize ClientSize() const override;
    void ShowBuffer(const QRect &rect) override;
    // Invalidates the area: the next repaint draws the table anew.
    void Invalidate();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    const CGlyphTable &m_table;
    std::function<void()> m_onDraw;
    bool m_bNeedsDraw = true;
    bool m_bPainting = false;
};

#endif
