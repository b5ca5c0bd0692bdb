#ifndef GLYPHWERK_APP_NEW_GLYPH_DIALOG_H
#define GLYPHWERK_APP_NEW_GLYPH_DIALOG_H

// Edit > New Glyph...: asks for the new glyph's encoding (decimal, or
// hexadecimal after 0x, 0 to 65535) and its name (uniXXXX by default). OK
// refuses, with a message, a text that is no such number and an encoding the
// font already has; the dialog then stays open.

#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;

class CNewGlyphDlg : public QDialog {
    Q_OBJECT
public:
    // `taken` tells whether the font already has a glyph with an encoding.
    CNewGlyphDlg(QWidget *parent, std::function<bool(int32_t)> taken);

    int32_t Encoding() const { return m_nEncoding; }
    // The typed name, or the default for the encoding when none was typed.
    QByteArray Name() const;

    // The encoding a text gives, if it is one.
    static std::optional<int32_t> ParseEncoding(const QString &text);
    // "uni" and the encoding in at least four upper-case hexadecimal digits.
    static QString DefaultName(int32_t encoding);

    QLineEdit *EncodingEdit() const { return m_pEncoding; }
    QLineEdit *NameEdit() const { return m_pName; }

    void accept() override;

private:
    std::function<bool(int32_t)> m_taken;
    QLineEdit *m_pEncoding;
    QLineEdit *m_pName;
    int32_t m_nEncoding = -1;
};

#endif
