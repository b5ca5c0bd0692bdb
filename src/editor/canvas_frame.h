#ifndef GLYPHWERK_EDITOR_CANVAS_FRAME_H
#define GLYPHWERK_EDITOR_CANVAS_FRAME_H

// The black frame that shows the editor's back buffer. It takes no mouse input
// of its own: presses, releases and moves pass on to the dialog, which owns
// the mouse protocol.

#include <QFrame>
#include <QImage>

class CCanvasFrame : public QFrame {
    Q_OBJECT

public:
    explicit CCanvasFrame(QWidget *parent);

    // Shows `image` (not owned; null for nothing) with its top-left corner at `origin`,
    // clipped to `view`.
    void Show(const QImage *image, QPoint origin, QRect view);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QImage *m_pImage = nullptr;
    QPoint m_origin;
    QRect m_view;
};

#endif
