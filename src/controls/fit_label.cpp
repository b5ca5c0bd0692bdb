#include "fit_label.h"

#include <QFontInfo>
#include <QPainter>

namespace {

constexpr int kNarrowestStretch = 50;
constexpr int kStretchStep = 5;

bool fits(const QFont &font, const QStringList &lines, QSize room) {
    const QFontMetrics metrics(font);
    if (lines.size() * metrics.lineSpacing() > room.height() + metrics.leading())
        return false;
    for (const QString &line : lines)
        if (metrics.horizontalAdvance(line) > room.width())
            return false;
    return true;
}

QFont fittedFont(QFont font, const QStringList &lines, QSize room) {
    if (fits(font, lines, room))
        return font;
    for (int stretch = QFont::Unstretched - kStretchStep; stretch >= kNarrowestStretch; stretch -= kStretchStep) {
        font.setStretch(stretch);
        if (fits(font, lines, room))
            return font;
    }
    for (int pixels = QFontInfo(font).pixelSize() - 1; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (fits(font, lines, room))
            break;
    }
    return font;
}

} // namespace

CFitLabel::CFitLabel(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CFitLabel::paintEvent(QPaintEvent *) {
    QString shown = text();
    shown.remove(QLatin1Char('\r'));
    const QStringList lines = shown.split(QLatin1Char('\n'));
    const QRect room = contentsRect();
    QPainter painter(this);
    painter.setFont(fittedFont(font(), lines, room.size()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(room, int(alignment()), shown);
}
