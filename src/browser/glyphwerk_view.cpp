#include "glyphwerk_view.h"

#include "dialog_builder.h"
#include "find_glyph_dialog.h"
#include "font_bytes.h"
#include "font_form_template.h"
#include "font_summary.h"
#include "glyph_table_area.h"
#include "info_text.h"
#include "keyless_scroll_bar.h"
#include "glyph_edit.h"
#include "metrics.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

namespace {

const QString kNoGlyph = QStringLiteral("No glyph is selected.");

int arrowKeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return CGlyphTable::VK_LEFT;
    case Qt::Key_Up:
        return CGlyphTable::VK_UP;
    case Qt::Key_Right:
        return CGlyphTable::VK_RIGHT;
    case Qt::Key_Down:
        return CGlyphTable::VK_DOWN;
    default:
        return 0;
    }
}

int scrollCode(int sliderAction) {
    switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
        return CGlyphTable::SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return CGlyphTable::SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return CGlyphTable::SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return CGlyphTable::SB_PAGEDOWN;
    case QAbstractSlider::SliderMove:
        return CGlyphTable::SB_THUMBTRACK;
    case QAbstractSlider::SliderToMinimum:
        return CGlyphTable::SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return CGlyphTable::SB_BOTTOM;
    default:
        return CGlyphTable::SB_ENDSCROLL;
    }
}

} // namespace

CGlyphwerkView::CGlyphwerkView(CFontDocument *document, QWidget *parent) : QWidget(parent), m_pDocument(document) {
    res::BuildOptions options;
    options.createControl = [this](const res::ControlTemplate &control, QWidget *owner) -> QWidget * {
        switch (control.id) {
        case res::IDC_GLYPH_TABLE:
            return m_pArea = new CGlyphTableArea(owner, m_glyphTable, [this] { OnDraw(); });
        case res::IDC_TABLE_SCROLL:
            return m_wndScrollBar = new CKeylessScrollBar(owner);
        case res::IDC_GLYPH_INFO:
        case res::IDC_FONT_INFO: {
            auto *text = new CInfoText(owner);
            text->setText(QString::fromUtf8(control.text));
            return text;
        }
        default:
            return nullptr;
        }
    };
    const QSize base = res::buildDialog(res::fontFormTemplate(), this, options);
    m_formSize = res::dialogUnitsToPixels(0, 0, res::fontFormTemplate().cx, res::fontFormTemplate().cy, base).size();
    m_pGlyphInfo = res::controlById<QLabel>(this, res::IDC_GLYPH_INFO);
    m_pFontInfo = res::controlById<QLabel>(this, res::IDC_FONT_INFO);
    m_pGlyphGroup = res::controlById(this, res::IDC_GLYPH_GROUP);
    m_pFontGroup = res::controlById(this, res::IDC_FONT_GROUP);
    connect(m_wndScrollBar, &QAbstractSlider::actionTriggered, this, &CGlyphwerkView::OnVScroll);
    setFocusPolicy(Qt::StrongFocus);
}

CGlyphwerkView::~CGlyphwerkView() { delete m_pEditDlg; }

void CGlyphwerkView::LayoutControls(int cx, int cy) {
    const int sbw = m_wndScrollBar->isHidden() ? 0 : m_wndScrollBar->width();
    const int w1 = m_pGlyphGroup->width();
    const int h1 = m_pGlyphGroup->height();
    m_pGlyphGroup->setGeometry(0, cy - h1, w1, h1);
    m_pGlyphInfo->setGeometry(20, cy - h1 + 20, w1 - 40, h1 - 40);
    m_pFontGroup->setGeometry(w1 + 10, cy - h1, cx - w1 - 10, h1);
    m_pFontInfo->setGeometry(w1 + 30, cy - h1 + 20, cx - w1 - 50, h1 - 40);
    m_pArea->setGeometry(0, 0, cx - sbw, cy - h1 - 10);
    if (sbw)
        m_wndScrollBar->setGeometry(cx - sbw, 0, sbw, cy - h1 - 10);
}

void CGlyphwerkView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    LayoutControls(width(), height());
}

void CGlyphwerkView::OnInitialUpdate() {
    OnUpdate(nullptr);

    // The frame shrinks so that the view is no larger than the form.
    QWidget *frame = window();
    if (frame != this) {
        if (frame->layout())
            frame->layout()->activate();
        const QSize excess(std::max(0, width() - m_formSize.width()), std::max(0, height() - m_formSize.height()));
        if (!excess.isNull())
            frame->setFixedSize(frame->size() - excess);
    }

    m_wndScrollBar->hide();
    m_glyphTable.ResetFirstRow();
}

void CGlyphwerkView::OnUpdate(const bdf_font *hint) {
    m_glyphTable.DetachFont();
    // The editor points into the font it was opened on; it never outlives it.
    if (m_pEditFont && m_pEditFont != m_pDocument->Font())
        OnFontReleasing();
    if (hint)
        ShowFontInfo(hint);
    m_pArea->Invalidate();
}

void CGlyphwerkView::OnFontReleasing() {
    m_glyphTable.DetachFont();
    if (m_pEditDlg && m_pEditFont)
        m_editorHook.detach(m_pEditDlg);
    m_pEditFont = nullptr;
}

void CGlyphwerkView::OnDraw() {
    if (bdf_font *font = m_pDocument->Font())
        m_glyphTable.Draw(m_pArea, font, m_wndScrollBar);
}

void CGlyphwerkView::ShowFontInfo(const bdf_font *font) {
    m_pFontInfo->setText(fromFontBytes(bdf_font_summary(font, m_pDocument->PathName().toUtf8().constData())));
    m_pArea->Invalidate();
}

void CGlyphwerkView::ShowGlyphInfo(const bdf_glyph *glyph) {
    m_pGlyphInfo->setText(fromFontBytes(bdf_glyph_summary(glyph)));
}

void CGlyphwerkView::SelectGlyph(int index, bool openEditor) {
    if (index == -1) {
        m_pGlyphInfo->setText(kNoGlyph);
        return;
    }
    bdf_font *font = m_pDocument->Font();
    if (font && index >= 0 && uint32_t(index) < font->glyphs_used) {
        bdf_glyph *glyph = &font->glyphs[index];
        ShowGlyphInfo(glyph);
        if (openEditor && m_editorHook.create && ResolvePendingEdit()) {
            if (!m_pEditDlg)
                m_pEditDlg = m_editorHook.create(this, [this] { OnGlyphChanged(); });
            m_pEditFont = font;
            m_nEditEncoding = glyph->encoding;
            m_editorHook.setGlyph(m_pEditDlg, glyph, font);
            m_pEditDlg->show();
            m_pEditDlg->raise();
            m_pEditDlg->activateWindow();
        }
    } else {
        m_pGlyphInfo->setText(kNoGlyph);
    }
    m_glyphTable.UpdateHighlight(m_pArea);
    emit selectionChanged();
}

int CGlyphwerkView::SelectedGlyph() const {
    const bdf_font *font = m_pDocument->Font();
    return font && m_nSelected >= 0 && uint32_t(m_nSelected) < font->glyphs_used ? m_nSelected : -1;
}

bool CGlyphwerkView::ResolvePendingEdit() {
    return !m_pEditDlg || !m_editorHook.resolvePending || m_editorHook.resolvePending(m_pEditDlg);
}

void CGlyphwerkView::SelectAtPoint(const QPoint &point, bool openEditor) {
    // Points are taken in the table area's client coordinates, where the page is drawn.
    const QPoint client = point - m_pArea->geometry().topLeft() - m_pArea->contentsRect().topLeft();
    if (!QRect(QPoint(0, 0), m_pArea->ClientSize()).contains(client))
        return;
    const int index = m_glyphTable.HitTest(client.x(), client.y());
    m_nSelected = index;
    SelectGlyph(index, openEditor);
}

void CGlyphwerkView::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        SelectAtPoint(event->position().toPoint(), false);
    QWidget::mousePressEvent(event);
}

void CGlyphwerkView::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        SelectAtPoint(event->position().toPoint(), true);
    QWidget::mouseDoubleClickEvent(event);
}

void CGlyphwerkView::keyPressEvent(QKeyEvent *event) {
    const int key = arrowKeyCode(event->key());
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    int index = -1, delta = 0;
    if (!m_glyphTable.Navigate(key, &index, &delta))
        return;
    if (delta != 0)
        ScrollTo(m_glyphTable.FirstRow() + delta);
    m_nSelected = index;
    SelectGlyph(m_nSelected, false);
}

void CGlyphwerkView::wheelEvent(QWheelEvent *event) {
    // The wheel scrolls the table by the desktop's lines per notch (120 units),
    // partial notches of fine-grained wheels adding up.
    if (m_wndScrollBar->isHidden())
        return;
    if (const int notches = m_wheel.Take(event->angleDelta().y()))
        m_glyphTable.Scroll(CGlyphTable::SB_THUMBTRACK,
                            m_glyphTable.FirstRow() - notches * QApplication::wheelScrollLines(), m_pArea);
    event->accept();
}

void CGlyphwerkView::ScrollTo(int row) {
    m_wndScrollBar->SetScrollPos(row);
    m_glyphTable.SetFirstRow(row, m_pArea);
}

void CGlyphwerkView::OnVScroll(int action) {
    m_glyphTable.Scroll(scrollCode(action), m_wndScrollBar->sliderPosition(), m_pArea);
    m_wndScrollBar->setSliderPosition(m_glyphTable.FirstRow());
}

bool CGlyphwerkView::IsFontCommandEnabled() const { return m_pDocument->FontLoaded(); }

void CGlyphwerkView::OnEditFind() {
    if (!IsFontCommandEnabled())
        return;
    CFindGlyphDlg dialog(window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int encoding = dialog.GetEncoding();
    int target = 0;
    const int index = m_glyphTable.FindEncoding(encoding, &target);
    m_nSelected = index;
    if (target != m_glyphTable.FirstRow())
        ScrollTo(std::min(target, m_glyphTable.ScrollMaximum()));
    SelectGlyph(index, false);
}

void CGlyphwerkView::OnGlyphChanged() {
    // The scalable widths and the font box follow the glyphs as reading the
    // saved font back would derive them, so the file reads back clean.
    if (bdf_font *font = m_pDocument->Font()) {
        bdf_update_metrics(font, &bdf_global_options);
        ShowFontInfo(font);
    }
    SelectGlyph(m_nSelected, false);
    m_pArea->Invalidate();
    update();
    m_pDocument->GlyphChanged(EditedEncoding());
}

bool CGlyphwerkView::ResolvePendingEditOf(int32_t encoding) {
    return encoding < 0 || encoding != EditedEncoding() || ResolvePendingEdit();
}

void CGlyphwerkView::OnGlyphsEdited(int32_t reshaped, int select) {
    bdf_font *font = m_pDocument->Font();
    if (!font)
        return;
    // The editor's glyph may have moved in memory, changed, or gone.
    if (m_pEditDlg && m_pEditFont) {
        const int32_t index = bdf_find_glyph(font, m_nEditEncoding);
        if (index < 0)
            OnFontReleasing();
        else if (reshaped == m_nEditEncoding)
            m_editorHook.setGlyph(m_pEditDlg, &font->glyphs[index], font);
        else if (m_editorHook.rebind)
            m_editorHook.rebind(m_pEditDlg, &font->glyphs[index]);
    }
    // The grid follows the glyph count before the selection is scrolled to.
    m_glyphTable.Draw(m_pArea, font, m_wndScrollBar);
    ShowFontInfo(font);
    if (select != kKeepSelection) {
        int target = m_glyphTable.FirstRow();
        m_glyphTable.Select(select, &target);
        m_nSelected = select;
        if (target != m_glyphTable.FirstRow())
            ScrollTo(std::min(target, m_glyphTable.ScrollMaximum()));
    }
    SelectGlyph(m_nSelected, false);
}
