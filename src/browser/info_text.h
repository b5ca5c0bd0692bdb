#ifndef GLYPHWERK_BROWSER_INFO_TEXT_H
#define GLYPHWERK_BROWSER_INFO_TEXT_H

// The text of an information panel. It keeps its text exactly as set ("\r\n"
// line ends, tabs) and draws it the way classic static text does: "\r\n"
// breaks the line, a tab advances to the next stop, long lines wrap at words.
//
// The panel texts line their values up by counting characters, as for a font
// whose letters are all one width: a tab goes to the next multiple of eight
// characters. A proportional font draws some labels wider than their count
// ("DWidth:" is wider than eight average letters), so each stop lies as far
// right as the widest text before it needs and every value of a column still
// starts at one place.

#include <QLabel>

class CInfoText : public QLabel {
    Q_OBJECT
public:
    explicit CInfoText(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif
