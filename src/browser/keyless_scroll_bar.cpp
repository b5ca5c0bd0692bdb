#include "keyless_scroll_bar.h"

#include <QKeyEvent>
#include <QSignalBlocker>

CKeylessScrollBar::CKeylessScrollBar(QWidget *parent) : QScrollBar(Qt::Vertical, parent) {
    setSingleStep(1);
    setPageStep(0); // no page size: the thumb does not stand for a page
}

void CKeylessScrollBar::SetScrollRange(int minimum, int maximum) {
    const QSignalBlocker blocker(this);
    setRange(minimum, maximum);
}

void CKeylessScrollBar::ShowScrollBar(bool show) { setVisible(show); }

void CKeylessScrollBar::PlaceAtParentRightEdge(int top, int height) {
    if (QWidget *view = parentWidget())
        setGeometry(view->width() - width(), top, width(), height);
}

void CKeylessScrollBar::SetScrollPos(int position) {
    const QSignalBlocker blocker(this);
    setValue(position);
}

void CKeylessScrollBar::keyPressEvent(QKeyEvent *event) { event->ignore(); }
