#include "canvas_frame.h"

#include <QPainter>

CCanvasFrame::CCanvasFrame(QWidget *parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);
    setMouseTracking(true);
}

void CCanvasFrame::Show(const QImage *image, QPoint origin, QRect view) {
    m_pImage = image;
    m_origin = origin;
    m_view = view;
    update();
}

void CCanvasFrame::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    if (!m_pImage || m_pImage->isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(m_view);
    painter.drawImage(m_origin, *m_pImage);
}
