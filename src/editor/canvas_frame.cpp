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
    image_ = image;
    origin_ = origin;
    view_ = view;
    update();
}

void CCanvasFrame::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    if (!image_ || image_->isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(view_);
    painter.drawImage(origin_, *image_);
}
