#ifndef GLYPHWERK_BROWSER_FIND_GLYPH_DIALOG_H
#define GLYPHWERK_BROWSER_FIND_GLYPH_DIALOG_H

// Dialog 158: asks for a glyph encoding from 0 to 65535, typed in decimal or
// hexadecimal. A new dialog is made for every Find, so each starts empty with
// Hexadecimal chosen.

#include <QDialog>

class CFindGlyphDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFindGlyphDlg(QWidget *parent = nullptr);

    int GetEncoding() const { return m_nEncoding; }
    int Format() const { return m_nFormat; }

    // OK ("Find" or Enter): checks the text; ends the dialog only for 0 to 65535.
    void accept() override;

private:
    void ShowRange(int format);

    int m_nFormat = 1;   // 0 decimal, 1 hexadecimal
    int m_nEncoding = 0;
};

#endif
