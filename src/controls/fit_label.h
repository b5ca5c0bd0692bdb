#ifndef GLYPHWERK_CONTROLS_FIT_LABEL_H
#define GLYPHWERK_CONTROLS_FIT_LABEL_H

// A static text that always shows whole. A line wider than the label is drawn
// narrower, the way a condensed face draws it: the font keeps its height and
// is stretched down to half its width; only text that still does not fit is
// drawn smaller as well. Text that fits is drawn in the label's own font.
// Dialog layouts are drawn for one font; the platform may have only wider
// ones, and numbers grow with the data they show.

#include <QLabel>

class CFitLabel : public QLabel {
    Q_OBJECT
public:
    explicit CFitLabel(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif
