#include "glyph_table_area.h"

#include <QPainter>

CGlyphTableArea::CGlyphTableArea(QWidget *parent, const CGlyphTable &table, std::function<void()> onDraw)
    : QFrame(parent), m_table(table), m_onDraw(std::move(onDraw)) {
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize CGlyphTableArea::ClientSize() const { return contentsRect().size(); }

void CGlyphTableArea::ShowBuffer(const QRect &rect) {
    if (!m_bPainting)
        update(rect.translated(contentsRect().topLeft()));
}

void CGlyphTableArea::Invalidate() {
    m_bNeedsDraw = true;
    update();
}

void CGlyphTableArea::resizeEvent(QResizeEvent *event) {
    m_bNeedsDraw = true;
    QFrame::resizeEvent(event);
}

void CGlyphTableArea::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    if (m_bNeedsDraw) {
        m_bNeedsDraw = false;
        m_bPainting = true;
        m_onDraw();
        m_bPainting = false;
    }
    if (!m_table.HasPage())
        return;
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), m_table.Buffer(), m_table.AreaRect());
}
