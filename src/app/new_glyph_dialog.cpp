#include "new_glyph_dialog.h"

#include "prompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

CNewGlyphDlg::CNewGlyphDlg(QWidget *parent, std::function<bool(int32_t)> taken)
    : QDialog(parent), m_taken(std::move(taken)), m_pEncoding(new QLineEdit(this)), m_pName(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("New Glyph"));
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Encoding (0-65535, 0x for hexadecimal):"), m_pEncoding);
    form->addRow(QStringLiteral("&Name:"), m_pName);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The proposed name follows the encoding until a name of one's own is typed.
    connect(m_pEncoding, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_pName->isModified())
            return;
        const std::optional<int32_t> encoding = ParseEncoding(text);
        m_pName->setPlaceholderText(encoding ? DefaultName(*encoding) : QString());
    });
}

std::optional<int32_t> CNewGlyphDlg::ParseEncoding(const QString &text) {
    QString digits = text.trimmed();
    int base = 10;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        digits = digits.mid(2);
        base = 16;
    }
    bool ok = false;
    const uint value = digits.toUInt(&ok, base);
    // Digits only: toUInt would also take a sign or blanks.
    const bool plain = !digits.isEmpty() && digits.at(0).isLetterOrNumber() && !digits.contains(QLatin1Char(' '));
    if (!ok || !plain || value > 65535)
        return std::nullopt;
    return int32_t(value);
}

QString CNewGlyphDlg::DefaultName(int32_t encoding) {
    return QStringLiteral("uni") + QStringLiteral("%1").arg(encoding, 4, 16, QLatin1Char('0')).toUpper();
}

QByteArray CNewGlyphDlg::Name() const {
    const QString name = m_pName->text().trimmed();
    return (name.isEmpty() ? DefaultName(m_nEncoding) : name).toLatin1();
}

void CNewGlyphDlg::accept() {
    const std::optional<int32_t> encoding = ParseEncoding(m_pEncoding->text());
    if (!encoding) {
        prompts::messageBox(this,
                            QStringLiteral("Type the encoding in decimal, or in hexadecimal after 0x, from 0 to 65535."),
                            prompts::MB_ICONEXCLAMATION_OK);
        return;
    }
    if (m_taken && m_taken(*encoding)) {
        prompts::messageBox(this,
                            QStringLiteral("The font already has a glyph with encoding %1 (0x%2).")
                                .arg(*encoding)
                                .arg(*encoding, 4, 16, QLatin1Char('0')),
                            prompts::MB_ICONEXCLAMATION_OK);
        return;
    }
    m_nEncoding = *encoding;
    QDialog::accept();
}
