#include "glyphwerk_doc.h"

#include "prompts.h"
#include "string_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kUntitled = QStringLiteral("Untitled");

QByteArray fileSystemPath(const QString &path) { return QFile::encodeName(path); }

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

CGlyphwerkDoc::CGlyphwerkDoc() = default;

CGlyphwerkDoc::~CGlyphwerkDoc() {
    if (m_pFont)
        emit fontReleasing();
}

void CGlyphwerkDoc::SetModifiedFlag(bool modified) {
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    emit stateChanged();
}

void CGlyphwerkDoc::SetTitle(const QString &title) {
    m_strTitle = title;
    emit titleChanged(m_strTitle);
}

void CGlyphwerkDoc::SetPathName(const QString &path) {
    m_strPathName = path;
    SetTitle(QFileInfo(path).fileName());
    emit pathAdded(path);
}

bool CGlyphwerkDoc::OnNewDocument() {
    m_strPathName.clear();
    SetModifiedFlag(false);
    SetTitle(kUntitled);
    emit stateChanged();
    return true;
}

bool CGlyphwerkDoc::OnOpenDocument(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts::messageBox(m_pPromptParent,
                            QStringLiteral("Cannot open file %1:\n%2.").arg(shown(path), file.errorString()),
                            prompts::MB_ICONEXCLAMATION_OK);
        return false;
    }
    file.close();
    SetModifiedFlag(false);

    if (m_pFont) {
        emit fontReleasing();
        m_pFont.reset();
    }
    SetPathName(path);
    m_pFont.reset(bdf_load_font_path(fileSystemPath(path).constData()));
    m_loadReport = LoadReport::of(path, m_pFont.get());
    m_strPartlyReadPath = m_loadReport.stopLine != 0 ? path : QString();
    if (!m_pFont) {
        m_bFontLoaded = 0;
        prompts::messageBox(m_pPromptParent, QStringLiteral("Invalid file!"), prompts::MB_ICONEXCLAMATION_OK);
    } else {
        m_bFontLoaded = 1;
        if (m_loadReport.stopLine != 0) // before the views show the font
            prompts::messageBox(m_pPromptParent, m_loadReport.stopWarning(), prompts::MB_ICONEXCLAMATION_OK);
    }
    emit stateChanged();
    emit updateAllViews(m_pFont.get());
    return true;
}

bool CGlyphwerkDoc::SaveFontTo(const QString &path) {
    if (!m_pFont || bdf_save_font_path(fileSystemPath(path).constData(), m_pFont.get()))
        return true;
    prompts::messageBox(m_pPromptParent, QStringLiteral("The file %1 could not be saved.").arg(shown(path)),
                        prompts::MB_ICONERROR_OK);
    return false;
}

bool CGlyphwerkDoc::OnSaveDocument(const QString &path) {
    if (!SaveFontTo(path))
        return false;
    SetModifiedFlag(false);
    return true;
}

void CGlyphwerkDoc::OnFileSaveAs() {
    QString path = prompts::current().saveFileName(m_pPromptParent, QString(),
                                                   res::qtFilter(res::loadString(res::IDS_BDF_FILTER)));
    if (path.isEmpty())
        return;
    if (!path.contains(QLatin1String(".bdf")))
        path += QLatin1String(".bdf");
    SaveFontTo(path);
}

bool CGlyphwerkDoc::DoFileSave() {
    const QFileInfo info(m_strPathName);
    if (m_strPathName.isEmpty() || !info.exists() || !info.isWritable())
        return DoSave(QString(), true);
    return DoSave(m_strPathName, true);
}

bool CGlyphwerkDoc::DoSave(const QString &path, bool replace) {
    QString name = path;
    if (name.isEmpty()) {
        QString proposed = m_strPathName;
        if (proposed.isEmpty())
            proposed = m_strTitle + res::docString(res::filterExt);
        const QString filter = res::qtFilter(res::docString(res::filterName) + QLatin1Char('|') + QLatin1Char('*') +
                                             res::docString(res::filterExt) + QStringLiteral("||"));
        name = prompts::current().saveFileName(m_pPromptParent, proposed, filter);
        if (name.isEmpty())
            return false;
        if (QFileInfo(name).suffix().isEmpty())
            name += res::docString(res::filterExt);
    }
    const bool overPartlyRead = !m_strPartlyReadPath.isEmpty() && QFileInfo(name) == QFileInfo(m_strPartlyReadPath);
    if (overPartlyRead && prompts::messageBox(m_pPromptParent, m_loadReport.saveOverQuestion(),
                                              prompts::MB_ICONEXCLAMATION_OKCANCEL) != prompts::IDOK)
        return false;
    if (!OnSaveDocument(name))
        return false;
    if (overPartlyRead)
        m_strPartlyReadPath.clear();
    if (replace && name != m_strPathName)
        SetPathName(name);
    emit stateChanged();
    return true;
}

bool CGlyphwerkDoc::SaveModified() {
    if (!m_bModified)
        return true;
    const QString name = m_strPathName.isEmpty() ? m_strTitle : shown(m_strPathName);
    switch (prompts::current().askSaveChanges(m_pPromptParent, name)) {
    case prompts::IDYES:
        return DoFileSave();
    case prompts::IDNO:
        return true;
    default:
        return false;
    }
}
