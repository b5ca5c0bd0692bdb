#include "canvas_frame.h"

#include <QPainter>

CCanvasFrame::CCanvasFrame(QWidget *parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setPalette([this] {
        QPalette palette = this->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        return palette;
    }());
    setMouseTracking(true);
}

void CCanvasFrame::Show(const QImage *image, QPoint origin, QRect view) {
    image_ = image;
    origin_ = origin;
    view_ = view;
    update(view);
}

void CCanvasFrame::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    if (!image_ || image_->isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(view_);
    painter.drawImage(origin_, *image_);
}
