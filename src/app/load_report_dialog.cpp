#include "load_report_dialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CLoadReportDlg::CLoadReportDlg(QWidget *parent) : QDialog(parent) {
    setModal(false);
    m_pHeading = new QLabel(this);
    m_pHeading->setTextFormat(Qt::PlainText); // a path is no markup
    m_pHeading->setWordWrap(true);
    m_pHeading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pMessages = new QPlainTextEdit(this);
    m_pMessages->setReadOnly(true);
    m_pMessages->setLineWrapMode(QPlainTextEdit::NoWrap); // one message, one line
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(m_pMessages->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pHeading);
    layout->addWidget(m_pMessages);
    layout->addWidget(buttons);
    resize(640, 320);
}

void CLoadReportDlg::SetReport(const LoadReport &report) {
    setWindowTitle(report.title());
    m_pHeading->setText(report.heading());
    m_pMessages->setPlainText(report.text());
}
