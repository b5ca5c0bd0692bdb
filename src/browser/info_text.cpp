#include "info_text.h"

#include <QPainter>
#include <QTextOption>

CInfoText::CInfoText(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CInfoText::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(8 * fontMetrics().averageCharWidth());
    QString shown = text();
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(QRectF(contentsRect()), shown, option);
}
