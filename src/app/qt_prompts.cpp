#include "qt_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QMessageBox::Icon iconOf(unsigned type) {
    switch (type & 0xF0u) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttonsOf(unsigned type) {
    switch (type & 0x0Fu) {
    case 1:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case 3:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

int answerOf(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return prompts::IDYES;
    case QMessageBox::No:
        return prompts::IDNO;
    case QMessageBox::Cancel:
        return prompts::IDCANCEL;
    default:
        return prompts::IDOK;
    }
}

} // namespace

int QtPrompts::messageBox(QWidget *parent, const QString &text, unsigned type) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(iconOf(type), prompts::caption(), shown, buttonsOf(type), parent);
    return answerOf(box.exec());
}

QString QtPrompts::openFileName(QWidget *parent, const QString &filter) {
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), m_strLastDirectory, filter);
    if (!path.isEmpty())
        m_strLastDirectory = QFileInfo(path).absolutePath();
    return path;
}

QString QtPrompts::saveFileName(QWidget *parent, const QString &proposedPath, const QString &filter) {
    QString start = proposedPath;
    if (QFileInfo(start).isRelative() && !m_strLastDirectory.isEmpty())
        start = QDir(m_strLastDirectory).filePath(start);
    const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save As"), start, filter);
    if (!path.isEmpty())
        m_strLastDirectory = QFileInfo(path).absolutePath();
    return path;
}

int QtPrompts::askSaveChanges(QWidget *parent, const QString &documentName) {
    QMessageBox box(QMessageBox::Warning, prompts::caption(),
                    QStringLiteral("The document \"%1\" has been modified.").arg(documentName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Do you want to save your changes?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return prompts::IDYES;
    case QMessageBox::Discard:
        return prompts::IDNO;
    default:
        return prompts::IDCANCEL;
    }
}
