#include "find_glyph_dialog.h"

#include "dialog_builder.h"
#include "find_glyph_template.h"
#include "prompts.h"
#include "strtoul32.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Message boxes of this dialog: OK button and the information icon.
constexpr unsigned MB_ICONINFORMATION_OK = 64;

const char *const kRangeLabels[] = {"(0-65535)", "(0-FFFF)"};
const int kBases[] = {10, 16};

} // namespace

CFindGlyphDlg::CFindGlyphDlg(QWidget *parent) : QDialog(parent) {
    res::buildDialog(res::findGlyphTemplate(), this);
    connect(res::controlById<QPushButton>(this, res::IDOK), &QPushButton::clicked, this, &QDialog::accept);
    connect(res::controlById<QPushButton>(this, res::IDCANCEL), &QPushButton::clicked, this, &QDialog::reject);
    auto *dec = res::controlById<QRadioButton>(this, res::IDC_RADIO_DEC);
    auto *hex = res::controlById<QRadioButton>(this, res::IDC_RADIO_HEX);
    connect(dec, &QRadioButton::clicked, this, [this] {
        m_nFormat = 0;
        ShowRange(0);
    });
    connect(hex, &QRadioButton::clicked, this, [this] {
        m_nFormat = 1;
        ShowRange(1);
    });

    // OnInitDialog: the radio button of m_nFormat, its range, focus on the edit box.
    (m_nFormat == 0 ? dec : hex)->setChecked(true);
    ShowRange(m_nFormat);
    res::controlById(this, res::IDC_ENCODING)->setFocus();
}

void CFindGlyphDlg::ShowRange(int format) {
    res::controlById<QLabel>(this, res::IDC_RANGE)->setText(QString::fromLatin1(kRangeLabels[format]));
}

void CFindGlyphDlg::accept() {
    const QString text = res::controlById<QLineEdit>(this, res::IDC_ENCODING)->text();
    if (text.isEmpty()) {
        prompts::messageBox(this, QStringLiteral("Glyph encoding is NULL!"), MB_ICONINFORMATION_OK);
        return;
    }
    m_nEncoding = int32_t(strtoul32(text.toUtf8().constData(), kBases[m_nFormat]));
    if (m_nEncoding < 0 || m_nEncoding > 65535) {
        prompts::messageBox(this, QStringLiteral("Parameter error!"), MB_ICONINFORMATION_OK);
        return;
    }
    QDialog::accept();
}
