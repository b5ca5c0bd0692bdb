#include "glyph_edit_dialog.h"

#include "canvas_frame.h"
#include "dialog_builder.h"
#include "fit_label.h"
#include "glyph_edit_template.h"
#include "grid_bitmap.h"
#include "icon_button.h"
#include "prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdlib>
#include <optional>
#include <cstring>

using namespace res;

namespace {

constexpr int kMargin = 4;

struct IconButtonSetup {
    int id;
    int icon;
    const char *tip;
};

// Icons and tool tips of the fifteen icon buttons.
constexpr IconButtonSetup kIconButtons[] = {
    {IDC_ZOOM_IN, 141, "Zoom (Ctrl+'+')"},
    {IDC_ZOOM_OUT, 140, "ZoomOut (Ctrl+'-')"},
    {IDC_REDO, 152, "Redo (Ctrl+'y')"},
    {IDC_UNDO, 153, "Undo (Ctrl+'z')"},
    {IDC_PENCIL, 148, nullptr},
    {IDC_ERASER, 150, nullptr},
    {IDC_SELECT, 151, nullptr},
    {IDC_UP, 132, nullptr},
    {IDC_RIGHT, 133, nullptr},
    {IDC_LEFT, 134, nullptr},
    {IDC_DOWN, 135, nullptr},
    {IDC_LEFT_DOWN, 136, nullptr},
    {IDC_LEFT_UP, 137, nullptr},
    {IDC_RIGHT_DOWN, 138, nullptr},
    {IDC_RIGHT_UP, 139, nullptr},
};

constexpr std::pair<int, int> kDirectionButtons[] = {
    {IDC_LEFT_UP, SHIFT_LEFT_UP},     {IDC_UP, SHIFT_UP},     {IDC_RIGHT_UP, SHIFT_RIGHT_UP},
    {IDC_LEFT, SHIFT_LEFT},           {IDC_RIGHT, SHIFT_RIGHT}, {IDC_LEFT_DOWN, SHIFT_LEFT_DOWN},
    {IDC_DOWN, SHIFT_DOWN},           {IDC_RIGHT_DOWN, SHIFT_RIGHT_DOWN},
};

bool IsIconButton(int id) {
    for (const IconButtonSetup &setup : kIconButtons)
        if (setup.id == id)
            return true;
    return false;
}

constexpr char kCommonWidthTip[] =
    "Every glyph of a monospaced or character-cell font is saved with the font's device width.";

QString EncodingText(const bdf_glyph &glyph) { return QString::asprintf("%04x", unsigned(glyph.encoding)).toUpper(); }

QString PendingChangesQuestion(const bdf_glyph &glyph) {
    if (glyph.name && *glyph.name)
        return QStringLiteral("Apply the changes to the glyph \"%1\"?").arg(QString::fromLatin1(glyph.name));
    return QStringLiteral("Apply the changes to the glyph with encoding %1?").arg(EncodingText(glyph));
}

void ShowNotice(QWidget *parent, const char *text) {
    if (prompts::currentSlot())
        prompts::messageBox(parent, QString::fromLatin1(text), prompts::MB_ICONEXCLAMATION_OK);
}

} // namespace

CGlyphEditDlg::CGlyphEditDlg(QWidget *view) : QDialog(view) {
    BuildOptions options;
    options.createControl = [](const ControlTemplate &control, QWidget *parent) -> QWidget * {
        if (control.id == IDC_CANVAS)
            return new CCanvasFrame(parent);
        if (control.id == IDC_METRICS) // two lines of numbers that grow with the glyph
            return new CFitLabel(parent);
        if (IsIconButton(control.id)) {
            auto *button = new CIconButton(control.kind == ControlKind::CheckBox, parent);
            button->setText(QString::fromUtf8(control.text)); // for accessibility; the icon is drawn instead
            return button;
        }
        return nullptr;
    };
    buildDialog(glyphEditTemplate(), this, options);
    setModal(false);
    setMouseTracking(true);

    m_pFrame = controlById<CCanvasFrame>(this, IDC_CANVAS);
    m_pHBar = controlById<QScrollBar>(this, IDC_HSCROLL);
    m_pVBar = controlById<QScrollBar>(this, IDC_VSCROLL);
    m_pNameEdit = controlById<QLineEdit>(this, IDC_GLYPH_NAME);
    m_pDwidthEdit = controlById<QLineEdit>(this, IDC_DWIDTH);
    m_pEncodingLabel = controlById<QLabel>(this, IDC_ENCODING_TEXT);
    m_pMetricsLabel = controlById<QLabel>(this, IDC_METRICS);
    m_pCoordinates = controlById<QLabel>(this, IDC_COORDINATES);
    m_pZoomIn = controlById<CIconButton>(this, IDC_ZOOM_IN);
    m_pZoomOut = controlById<CIconButton>(this, IDC_ZOOM_OUT);
    m_pUndo = controlById<CIconButton>(this, IDC_UNDO);
    m_pRedo = controlById<CIconButton>(this, IDC_REDO);
    m_pSelect = controlById<CIconButton>(this, IDC_SELECT);
    m_pPencil = controlById<CIconButton>(this, IDC_PENCIL);
    m_pEraser = controlById<CIconButton>(this, IDC_ERASER);
    m_pShowAxes = controlById<QCheckBox>(this, IDC_SHOW_FONT_AXES);
    m_pShowAdvance = controlById<QCheckBox>(this, IDC_SHOW_ADVANCE_BOX);

    for (const IconButtonSetup &setup : kIconButtons) {
        auto *button = controlById<CIconButton>(this, setup.id);
        button->LoadIcons(setup.icon, 0);
        if (setup.tip)
            button->SetTip(QString::fromLatin1(setup.tip), true);
    }
    m_pShowAxes->setChecked(m_canvas.show_font_axes);
    m_pShowAdvance->setChecked(m_canvas.show_advance_box);

    connect(controlById<QPushButton>(this, IDOK), &QPushButton::clicked, this, [this] { OnOK(); });
    // Cancel is the explicit choice to drop the changes: it does not ask.
    connect(controlById<QPushButton>(this, IDCANCEL), &QPushButton::clicked, this, [this] { QDialog::reject(); });
    connect(m_pZoomIn, &QAbstractButton::clicked, this, &CGlyphEditDlg::ZoomIn);
    connect(m_pZoomOut, &QAbstractButton::clicked, this, &CGlyphEditDlg::ZoomOut);
    connect(m_pUndo, &QAbstractButton::clicked, this, &CGlyphEditDlg::Undo);
    connect(m_pRedo, &QAbstractButton::clicked, this, &CGlyphEditDlg::Redo);
    for (auto [id, direction] : kDirectionButtons)
        connect(controlById<CIconButton>(this, id), &QAbstractButton::clicked, this,
                [this, direction = direction] { m_canvas.ShiftOrMove(direction); });
    connect(m_pSelect, &QAbstractButton::clicked, this, [this] { SelectTool(TOOL_SELECT, m_pSelect); });
    connect(m_pPencil, &QAbstractButton::clicked, this, [this] { SelectTool(TOOL_PENCIL, m_pPencil); });
    connect(m_pEraser, &QAbstractButton::clicked, this, [this] { SelectTool(TOOL_ERASER, m_pEraser); });
    connect(m_pShowAxes, &QAbstractButton::clicked, this, [this] {
        m_canvas.show_font_axes = !m_canvas.show_font_axes;
        Rebuild();
    });
    connect(m_pShowAdvance, &QAbstractButton::clicked, this, [this] {
        m_canvas.show_advance_box = !m_canvas.show_advance_box;
        Rebuild();
    });
    for (QScrollBar *bar : {m_pHBar, m_pVBar}) {
        bar->setSingleStep(1);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            m_canvas.SetScroll(m_pHBar->value(), m_pVBar->value());
            Present();
        });
    }

    m_canvas.onRebuild = [this] {
        ShowGlyphFields();
        UpdateScrollBars();
        Present();
    };
    m_canvas.onPresent = [this] {
        const QRect view = GetViewRect();
        m_pFrame->Show(&m_canvas.BackBuffer(), view.topLeft(), view);
    };

    // Keys reach OnKeyDown whichever control has the focus.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, &CGlyphEditDlg::OnTimer);
    m_timer.start();
}

CGlyphEditDlg::~CGlyphEditDlg() = default;

bool CGlyphEditDlg::SetGlyph(bdf_glyph *glyph, const bdf_bbx &fontBox, int bpp, int commonWidth) {
    m_nCommonWidth = commonWidth;
    m_pDwidthEdit->setReadOnly(commonWidth >= 0);
    m_pDwidthEdit->setToolTip(commonWidth >= 0 ? QString::fromLatin1(kCommonWidthTip) : QString());
    m_pDwidthEdit->setModified(false);
    const CEditCanvas::SetUpResult result = m_canvas.SetUp(glyph, fontBox, bpp);
    if (result != CEditCanvas::SETUP_READY) {
        // Nothing of another glyph may stay on show.
        m_pFrame->Show(nullptr, {}, {});
        if (result == CEditCanvas::SETUP_TOO_LARGE)
            ShowNotice(this, "This glyph is too large to be edited.");
        else if (result == CEditCanvas::SETUP_BAD_DEPTH)
            ShowNotice(this, "Glyphs of this font's pixel depth cannot be edited.");
        return false;
    }
    // A glyph with a larger zoom limit than the last one's can be zoomed in again.
    if (m_canvas.Zoom() < m_canvas.MaxZoom())
        m_pZoomIn->setEnabled(true);
    return true;
}

void CGlyphEditDlg::DetachFont() {
    m_canvas.Detach();
    m_pFrame->Show(nullptr, {}, {});
    hide();
}

// ---- Fields and OK ---------------------------------------------------------

void CGlyphEditDlg::ShowGlyphFields() {
    const bdf_glyph *glyph = m_canvas.Glyph();
    if (!m_canvas.Ready() || !glyph)
        return;
    if (glyph->name)
        m_pNameEdit->setText(QString::fromLatin1(glyph->name));
    m_pEncodingLabel->setText(EncodingText(*glyph));
    // A width typed and not yet applied survives shifts, zooms and the other rebuilds.
    if (!m_pDwidthEdit->isModified())
        m_pDwidthEdit->setText(QString::number(m_nCommonWidth >= 0 ? m_nCommonWidth : glyph->dwidth));
    const bdf_bbx &b = glyph->bbx;
    m_pMetricsLabel->setText(QString::asprintf("width %d height %d x_offset %d y_offset %d\r\nascent %d descent %d",
                                               b.width, b.height, b.x_offset, b.y_offset, b.ascent, b.descent));
}

bool CGlyphEditDlg::OnOK() {
    if (m_canvas.Ready() && m_canvas.Glyph())
        emit glyphAboutToChange();
    const bool changed = ApplyToGlyph();
    if (changed) {
        // The fields show what was stored, the metrics the glyph's new box.
        m_pDwidthEdit->setModified(false);
        ShowGlyphFields();
        emit glyphChanged();
    }
    return changed;
}

bool CGlyphEditDlg::ApplyToGlyph() {
    bdf_glyph *glyph = m_canvas.Glyph();
    if (!m_canvas.Ready() || !glyph)
        return false;
    bool changed = false;
    const QByteArray name = TypedName(*glyph);
    if (!name.isEmpty()) {
        if (char *copy = static_cast<char *>(malloc(size_t(name.size()) + 1))) {
            memcpy(copy, name.constData(), size_t(name.size()) + 1);
            free(glyph->name);
            glyph->name = copy;
            changed = true;
        }
    }
    if (const std::optional<int> width = TypedDeviceWidth(*glyph)) {
        glyph->dwidth = uint16_t(*width);
        changed = true;
    }
    m_canvas.CommitSelection();
    CEditHistory &history = m_canvas.History();
    if (history.CanUndo()) {
        changed = true;
        const bdf_bbx &box = m_canvas.GridBox();
        if (InkExtent *extent = ComputeInkExtent(history.CurrentBitmap(), box.width, box.height, m_canvas.Bpp())) {
            PackIntoGlyph(glyph, *extent, box, m_canvas.Bpp());
            free(extent);
        }
    }
    return changed;
}

QByteArray CGlyphEditDlg::TypedName(const bdf_glyph &glyph) const {
    // Names are bytes; Latin-1 carries every byte of a stored name through the edit unchanged.
    const QByteArray name = m_pNameEdit->text().toLatin1();
    if (name.isEmpty() || !glyph.name || strcmp(name.constData(), glyph.name) == 0)
        return {};
    return name;
}

std::optional<int> CGlyphEditDlg::TypedDeviceWidth(const bdf_glyph &glyph) const {
    const QByteArray width = m_pDwidthEdit->text().toLatin1();
    if (m_nCommonWidth >= 0 || width.isEmpty())
        return std::nullopt;
    const int n = atoi(width.constData());
    if (n == int(glyph.dwidth))
        return std::nullopt;
    return n;
}

bool CGlyphEditDlg::ResolvePendingChanges() {
    // A hidden window holds nothing the user still sees as pending.
    const bdf_glyph *glyph = m_canvas.Glyph();
    if (!isVisible() || !glyph ||
        (!m_canvas.HasUnappliedChanges() && TypedName(*glyph).isEmpty() && !TypedDeviceWidth(*glyph)))
        return true;
    const QString question = PendingChangesQuestion(*glyph);
    switch (prompts::messageBox(this, question, prompts::MB_ICONQUESTION_YESNOCANCEL)) {
    case prompts::IDYES:
        OnOK();
        return true;
    case prompts::IDNO: {
        const bdf_bbx gridBox = m_canvas.GridBox();
        SetGlyph(m_canvas.Glyph(), gridBox, m_canvas.Bpp(), m_nCommonWidth);
        return true;
    }
    default:
        return false;
    }
}

void CGlyphEditDlg::reject() {
    if (ResolvePendingChanges())
        QDialog::reject();
}

// ---- Canvas ----------------------------------------------------------------

void CGlyphEditDlg::Rebuild() { m_canvas.Rebuild(); }

void CGlyphEditDlg::Present() {
    const QRect view = GetViewRect();
    m_canvas.SetViewSize(view.width(), view.height());
    m_canvas.Present();
}

QRect CGlyphEditDlg::GetViewRect() const {
    const int right = m_pFrame->width() - (m_pVBar->isVisibleTo(this) ? m_pVBar->width() : kMargin);
    const int bottom = m_pFrame->height() - (m_pHBar->isVisibleTo(this) ? m_pHBar->height() : kMargin);
    return QRect(QPoint(kMargin, kMargin), QPoint(right - 1, bottom - 1));
}

void CGlyphEditDlg::UpdateScrollBars() {
    const QRect frame = m_pFrame->rect();
    const QSignalBlocker blockH(m_pHBar), blockV(m_pVBar);
    const int availableWidth = frame.width() - 2 * kMargin, availableHeight = frame.height() - 2 * kMargin;
    m_pHBar->setVisible(m_canvas.ContentWidth() > availableWidth);
    m_pHBar->setRange(0, std::max(0, m_canvas.ContentWidth() - availableWidth + m_pVBar->width()));
    m_pVBar->setVisible(m_canvas.ContentHeight() > availableHeight);
    m_pVBar->setRange(0, std::max(0, m_canvas.ContentHeight() - availableHeight + m_pHBar->height()));
    // A click in the trough moves by what the view shows.
    const QRect view = GetViewRect();
    m_pHBar->setPageStep(view.width());
    m_pVBar->setPageStep(view.height());
    m_pHBar->setValue(m_canvas.ScrollX());
    m_pVBar->setValue(m_canvas.ScrollY());
    m_canvas.SetScroll(m_pHBar->value(), m_pVBar->value());
}

void CGlyphEditDlg::OnWheel(const QWheelEvent *event, bool overHorizontalBar) {
    // Shift, or a wheel over the horizontal bar, turns a vertical wheel sideways.
    QPoint delta = event->angleDelta();
    if ((overHorizontalBar || (event->modifiers() & Qt::ShiftModifier)) && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    // A notch moves the desktop's lines per notch, a line being a row or column of cells.
    const int step = QApplication::wheelScrollLines() * m_canvas.Pitch();
    if (const int notches = m_wheelX.Take(delta.x()); notches && !m_pHBar->isHidden())
        m_pHBar->setValue(m_pHBar->value() - notches * step);
    if (const int notches = m_wheelY.Take(delta.y()); notches && !m_pVBar->isHidden())
        m_pVBar->setValue(m_pVBar->value() - notches * step);
}

bool CGlyphEditDlg::PointToCell(QPoint point, Cell *cell) const {
    const QRect view = GetViewRect();
    const QPoint p = m_pFrame->mapFrom(this, point);
    if (!view.contains(p))
        return false;
    return m_canvas.CellAtContent(m_canvas.ScrollX() - view.left() + p.x(), m_canvas.ScrollY() - view.top() + p.y(),
                                  cell);
}

void CGlyphEditDlg::ShowCoordinates(int k, int r) {
    const bdf_bbx &box = m_canvas.GridBox();
    m_pCoordinates->setText(QString::asprintf("(%d, %d)(%d, %d)", k, r, box.x_offset + k, box.ascent - r - 1));
}

void CGlyphEditDlg::ZoomIn() {
    if (m_canvas.ZoomIn())
        m_pZoomOut->setEnabled(true);
    else
        m_pZoomIn->setEnabled(false);
}

void CGlyphEditDlg::ZoomOut() {
    if (m_canvas.ZoomOut())
        m_pZoomIn->setEnabled(true);
    else
        m_pZoomOut->setEnabled(false);
}

void CGlyphEditDlg::Undo() { m_canvas.Undo(); }
void CGlyphEditDlg::Redo() { m_canvas.Redo(); }

void CGlyphEditDlg::OnTimer() {
    m_pRedo->setEnabled(m_canvas.History().CanRedo());
    m_pUndo->setEnabled(m_canvas.History().CanUndo());
}

// ---- Tools, mouse and keys -------------------------------------------------

void CGlyphEditDlg::SelectTool(int tool, CIconButton *button) {
    for (CIconButton *other : {m_pSelect, m_pPencil, m_pEraser})
        if (other != button)
            other->SetChecked(0, true);
    m_canvas.SelectTool(tool, button->IsChecked());
}

void CGlyphEditDlg::OnCanvasMouse(int event, QPoint point) {
    Cell cell;
    const bool onCell = PointToCell(point, &cell);
    if (onCell && event == MOUSE_MOVE && !m_canvas.BothButtonsDown())
        ShowCoordinates(cell.k, cell.r);
    m_canvas.OnCanvasMouse(event, onCell ? &cell : nullptr);
    if (onCell && event == MOUSE_MOVE && m_canvas.CurrentTool() == TOOL_SELECT && m_canvas.OverLiftedSelection(cell))
        m_pFrame->setCursor(Qt::SizeAllCursor);
    else if (event == MOUSE_MOVE)
        m_pFrame->unsetCursor();
}

void CGlyphEditDlg::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        OnCanvasMouse(MOUSE_LEFT_DOWN, event->position().toPoint());
    else if (event->button() == Qt::RightButton)
        OnCanvasMouse(MOUSE_RIGHT_DOWN, event->position().toPoint());
    QDialog::mousePressEvent(event);
}

void CGlyphEditDlg::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        OnCanvasMouse(MOUSE_LEFT_UP, event->position().toPoint());
    else if (event->button() == Qt::RightButton)
        OnCanvasMouse(MOUSE_RIGHT_UP, event->position().toPoint());
    QDialog::mouseReleaseEvent(event);
}

void CGlyphEditDlg::mouseMoveEvent(QMouseEvent *event) {
    OnCanvasMouse(MOUSE_MOVE, event->position().toPoint());
    QDialog::mouseMoveEvent(event);
}

bool CGlyphEditDlg::eventFilter(QObject *watched, QEvent *event) {
    // The wheel scrolls the canvas from over the canvas and over either bar alike.
    if (event->type() == QEvent::Wheel && (watched == m_pFrame || watched == m_pHBar || watched == m_pVBar)) {
        OnWheel(static_cast<QWheelEvent *>(event), watched == m_pHBar);
        return true;
    }
    // A key travels from the focus widget up to the dialog; it is seen once, where it starts.
    if (event->type() == QEvent::KeyPress) {
        QWidget *focus = QApplication::focusWidget();
        if (watched == focus || (watched == this && (!focus || !isAncestorOf(focus)))) {
            auto *key = static_cast<QKeyEvent *>(event);
            OnKeyDown(key->key(), key->modifiers());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CGlyphEditDlg::OnKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (m_canvas.Selection().active) {
        const int direction = key == Qt::Key_Left    ? SHIFT_LEFT
                              : key == Qt::Key_Up    ? SHIFT_UP
                              : key == Qt::Key_Right ? SHIFT_RIGHT
                              : key == Qt::Key_Down  ? SHIFT_DOWN
                                                     : 0;
        if (direction) {
            m_canvas.ShiftOrMove(direction);
            return;
        }
    }
    if (!(modifiers & Qt::ControlModifier))
        return;
    switch (key) {
    case Qt::Key_Y:
        Redo();
        break;
    case Qt::Key_Z:
        Undo();
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        m_pFrame->setFocus();
        ZoomIn();
        break;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        m_pFrame->setFocus();
        ZoomOut();
        break;
    default:
        break;
    }
}
