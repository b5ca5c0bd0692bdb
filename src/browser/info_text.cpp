#include "info_text.h"

#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <vector>

namespace {

constexpr int kCharactersPerStop = 8;

// Stop n lies at least one stop distance right of stop n - 1, and at least a
// blank right of the end of every piece of text that a tab moves to it.
QList<QTextOption::Tab> characterCountStops(const QString &text, const QFontMetrics &metrics) {
    struct Piece {
        int from, to; // stops (0 is the line's start)
        int width;
    };
    std::vector<Piece> pieces;
    int lastStop = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        int column = 0, from = 0;
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            const int to = (column + int(parts[i].size())) / kCharactersPerStop + 1;
            pieces.push_back({from, to, metrics.horizontalAdvance(parts[i] + QLatin1Char(' '))});
            column = to * kCharactersPerStop;
            from = to;
            lastStop = std::max(lastStop, to);
        }
    }
    const int distance = kCharactersPerStop * metrics.averageCharWidth();
    std::vector<int> position(size_t(lastStop) + 1, 0);
    QList<QTextOption::Tab> tabs;
    for (int stop = 1; stop <= lastStop; ++stop) {
        position[stop] = position[stop - 1] + distance;
        for (const Piece &piece : pieces)
            if (piece.to == stop)
                position[stop] = std::max(position[stop], position[piece.from] + piece.width);
        tabs.append(QTextOption::Tab(position[stop], QTextOption::LeftTab));
    }
    return tabs;
}

} // namespace

CInfoText::CInfoText(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CInfoText::paintEvent(QPaintEvent *) {
    QString shown = text();
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(kCharactersPerStop * fontMetrics().averageCharWidth());
    option.setTabs(characterCountStops(shown, fontMetrics()));
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(QRectF(contentsRect()), shown, option);
}
