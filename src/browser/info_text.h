#ifndef GLYPHWERK_BROWSER_INFO_TEXT_H
#define GLYPHWERK_BROWSER_INFO_TEXT_H

// The text of an information panel. It keeps its text exactly as set ("\r\n"
// line ends, tabs) and draws it the way classic static text does: "\r\n"
// breaks the line, a tab advances to the next stop of eight average character
// widths, long lines wrap at words.

#include <QLabel>

class CInfoText : public QLabel {
    Q_OBJECT
public:
    explicit CInfoText(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif
