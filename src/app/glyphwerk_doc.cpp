#include "glyphwerk_doc.h"

#include "glyph_edit.h"
#include "metrics.h"
#include "prompts.h"
#include "string_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kUntitled = QStringLiteral("Untitled");
constexpr uint64_t kLargestBlankGlyph = 1u << 20;

QByteArray fileSystemPath(const QString &path) { return QFile::encodeName(path); }

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

CGlyphwerkDoc::CGlyphwerkDoc() {
    connect(&m_undoStack, &QUndoStack::indexChanged, this, &CGlyphwerkDoc::stateChanged);
    connect(&m_undoStack, &QUndoStack::cleanChanged, this, &CGlyphwerkDoc::stateChanged);
}

CGlyphwerkDoc::~CGlyphwerkDoc() {
    if (m_pFont)
        emit fontReleasing();
    bdf_free_glyph(&m_editedBefore);
    // The stack clears itself on destruction: nobody is to hear of that.
    m_undoStack.blockSignals(true);
}

void CGlyphwerkDoc::SetModifiedFlag(bool modified) {
    const bool was = IsModified();
    m_bModified = modified;
    if (!modified)
        m_undoStack.setClean();
    if (IsModified() != was)
        emit stateChanged();
}

void CGlyphwerkDoc::Push(QUndoCommand *command) {
    m_undoStack.push(command);
    emit fontEdited();
}

void CGlyphwerkDoc::OnGlyphsEdited(int32_t encoding, bool reshaped, int select) {
    // The scalable widths and the font box follow the glyphs as reading the
    // saved font back would derive them.
    bdf_update_metrics(m_pFont.get(), &bdf_global_options);
    emit glyphsEdited(reshaped ? encoding : -1, select);
}

int CGlyphwerkDoc::NewGlyph(int32_t encoding, const QByteArray &name) {
    bdf_font *font = m_pFont.get();
    if (!font || bdf_find_glyph(font, encoding) >= 0)
        return -1;
    bdf_glyph glyph{};
    glyph.encoding = encoding;
    const int32_t common = bdf_common_dwidth(font);
    glyph.dwidth = uint16_t(common >= 0 ? common : font->bbx.width);
    glyph.swidth = bdf_scalable_width(font, glyph.dwidth);
    // A blank bitmap of the font box: the editor draws in it, the table shows the
    // selected cell, and Save writes it cropped to its ink like any glyph. A box
    // too large to edit gets no bitmap rather than a huge blank one.
    const uint64_t bytes = uint64_t(bdf_row_bytes(font->bbx.width, font->bpp)) * font->bbx.height;
    if (bytes <= kLargestBlankGlyph) {
        glyph.bbx = font->bbx;
        glyph.bytes = uint32_t(bytes);
    }
    glyph.bitmap = glyph.bytes ? static_cast<unsigned char *>(calloc(glyph.bytes, 1)) : nullptr;
    glyph.name = static_cast<char *>(malloc(size_t(name.size()) + 1));
    if ((glyph.bytes && !glyph.bitmap) || !glyph.name) {
        bdf_free_glyph(&glyph);
        return -1;
    }
    memcpy(glyph.name, name.constData(), size_t(name.size()) + 1);
    Push(new CGlyphListCommand(this, &glyph, QStringLiteral("New Glyph")));
    return bdf_find_glyph(font, encoding);
}

void CGlyphwerkDoc::DeleteGlyph(int index) {
    if (m_pFont && index >= 0 && uint32_t(index) < m_pFont->glyphs_used)
        Push(new CGlyphListCommand(this, m_pFont->glyphs[index].encoding, QStringLiteral("Delete Glyph")));
}

bool CGlyphwerkDoc::ReshapeGlyph(int index, bdf_glyph *shape) {
    if (!m_pFont || index < 0 || uint32_t(index) >= m_pFont->glyphs_used)
        return false;
    const bdf_glyph &target = m_pFont->glyphs[index];
    bdf_glyph before{};
    char *name = target.name ? strdup(target.name) : nullptr;
    if (!bdf_copy_glyph(&before, &target) || (target.name && !name)) {
        bdf_free_glyph(&before);
        free(name);
        return false;
    }
    free(shape->name);
    shape->name = name;
    shape->encoding = target.encoding;
    Push(new CReplaceGlyphCommand(this, &before, shape, false, QStringLiteral("Paste Glyph")));
    return true;
}

void CGlyphwerkDoc::Undo() {
    if (!m_undoStack.canUndo())
        return;
    m_undoStack.undo();
    emit fontEdited();
}

void CGlyphwerkDoc::Redo() {
    if (!m_undoStack.canRedo())
        return;
    m_undoStack.redo();
    emit fontEdited();
}

int32_t CGlyphwerkDoc::UndoEncoding() const {
    const auto *command = static_cast<const CGlyphCommand *>(m_undoStack.command(m_undoStack.index() - 1));
    return command ? command->Encoding() : -1;
}

int32_t CGlyphwerkDoc::RedoEncoding() const {
    const auto *command = static_cast<const CGlyphCommand *>(m_undoStack.command(m_undoStack.index()));
    return command ? command->Encoding() : -1;
}

void CGlyphwerkDoc::GlyphAboutToChange(int32_t encoding) {
    const int32_t index = bdf_find_glyph(m_pFont.get(), encoding);
    m_nEditedBefore = index >= 0 && bdf_copy_glyph(&m_editedBefore, &m_pFont->glyphs[index]) ? encoding : -1;
}

void CGlyphwerkDoc::GlyphChanged(int32_t encoding) {
    const int32_t index = bdf_find_glyph(m_pFont.get(), encoding);
    bdf_glyph after{};
    const bool kept = encoding >= 0 && m_nEditedBefore == encoding;
    m_nEditedBefore = -1;
    if (!kept || index < 0 || !bdf_copy_glyph(&after, &m_pFont->glyphs[index])) {
        // A change the history cannot take back: the document stays modified.
        SetModifiedFlag(true);
        emit fontEdited();
        return;
    }
    Push(new CReplaceGlyphCommand(this, &m_editedBefore, &after, true, QStringLiteral("Edit Glyph")));
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
    m_nEditedBefore = -1;
    m_undoStack.clear();
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
    if (!IsModified())
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
