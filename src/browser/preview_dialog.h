#ifndef GLYPHWERK_BROWSER_PREVIEW_DIALOG_H
#define GLYPHWERK_BROWSER_PREVIEW_DIALOG_H

// The preview window: modeless, beside the main window, a line of editable
// text set in the document's font at a zoom of 1 to 8, which can be saved as a
// PNG image. It keeps only the drawn image, never a pointer into the font, so
// a released font cannot be touched; the owner calls Refresh whenever the
// font changed and Clear when it is about to be released.

#include "font_document.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class CPreviewDlg : public QDialog {
    Q_OBJECT
public:
    CPreviewDlg(CFontDocument *document, QWidget *parent);

    // Draws the text anew in the document's current font (nothing without one).
    void Refresh();
    // Shows nothing until the next Refresh.
    void Clear();
    // Asks for a file name and writes the shown image there as PNG.
    void OnSave();

    // The line as shown (and saved); null when nothing is shown.
    const QImage &Image() const { return m_image; }
    QLineEdit *TextEdit() const { return m_pText; }
    QSpinBox *ZoomBox() const { return m_pZoom; }
    QPushButton *SaveButton() const { return m_pSave; }
    QLabel *Canvas() const { return m_pCanvas; }

private:
    // Shows `image`, or `note` in its place when the image is null.
    void Display(const QImage &image, const QString &note);

    CFontDocument *m_pDocument;
    QLineEdit *m_pText = nullptr;
    QSpinBox *m_pZoom = nullptr;
    QPushButton *m_pSave = nullptr;
    QLabel *m_pCanvas = nullptr;
    QImage m_image;
};

#endif
