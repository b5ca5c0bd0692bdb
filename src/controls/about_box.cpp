#include "about_box.h"

#include "about_template.h"
#include "dialog_builder.h"
#include "dialog_icon.h"
#include "link_label.h"
#include "string_table.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent) {
    res::BuildOptions options;
    options.createControl = [](const res::ControlTemplate &control, QWidget *dialog) -> QWidget * {
        if (control.id == res::IDC_ABOUT_MAIL || control.id == res::IDC_ABOUT_WEB) {
            auto *link = new CLinkLabel(dialog);
            link->setText(QString::fromUtf8(control.text));
            return link;
        }
        if (control.kind == res::ControlKind::Custom)
            return controls::makeDialogIcon(dialog);
        return nullptr;
    };
    res::buildDialog(res::aboutTemplate(), this, options);
    m_pMailLink = res::controlById<CLinkLabel>(this, res::IDC_ABOUT_MAIL);
    m_pWebLink = res::controlById<CLinkLabel>(this, res::IDC_ABOUT_WEB);
    m_pMailLink->bind();
    m_pWebLink->bind();

    res::controlById<QLabel>(this, res::IDC_ABOUT_VERSION)->setText(res::nameAndVersion());

    const QString mail = QString::fromLatin1(res::kAuthorMail);
    m_pMailLink->SetLinkUrl(QStringLiteral("mailto:") + mail);
    m_pMailLink->setLinkCursor(Qt::PointingHandCursor);
    m_pMailLink->SetTip(QStringLiteral("Email to ----> ") + mail);
    m_pMailLink->SetUnderlined(true);
    m_pMailLink->SetItalic(true);

    const QString web = QString::fromLatin1(res::kAuthorWeb);
    m_pWebLink->SetLinkUrl(web);
    m_pWebLink->setLinkCursor(Qt::PointingHandCursor);
    m_pWebLink->SetTip(web);
    m_pWebLink->SetUnderlined(true);
    m_pWebLink->SetItalic(true);

    connect(res::controlById<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    connect(res::controlById<QPushButton>(this, res::IDC_ABOUT_README), &QPushButton::clicked, this,
            &CAboutDlg::OnReadme);
}

QString CAboutDlg::readmePath(const QString &programDir) {
    const QDir dir(programDir);
    for (const QString &candidate : {dir.filePath(QStringLiteral("readme.txt")),
                                     dir.filePath(QStringLiteral("../share/doc/glyphwerk/readme.txt"))}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

void CAboutDlg::OnReadme() {
    const QString path = readmePath(QCoreApplication::applicationDirPath());
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
