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

    frame_ = controlById<CCanvasFrame>(this, IDC_CANVAS);
    hbar_ = controlById<QScrollBar>(this, IDC_HSCROLL);
    vbar_ = controlById<QScrollBar>(this, IDC_VSCROLL);
    nameEdit_ = controlById<QLineEdit>(this, IDC_GLYPH_NAME);
    dwidthEdit_ = controlById<QLineEdit>(this, IDC_DWIDTH);
    encodingLabel_ = controlById<QLabel>(this, IDC_ENCODING_TEXT);
    metricsLabel_ = controlById<QLabel>(this, IDC_METRICS);
    coordinates_ = controlById<QLabel>(this, IDC_COORDINATES);
    zoomIn_ = controlById<CIconButton>(this, IDC_ZOOM_IN);
    zoomOut_ = controlById<CIconButton>(this, IDC_ZOOM_OUT);
    undo_ = controlById<CIconButton>(this, IDC_UNDO);
    redo_ = controlById<CIconButton>(this, IDC_REDO);
    select_ = controlById<CIconButton>(this, IDC_SELECT);
    pencil_ = controlById<CIconButton>(this, IDC_PENCIL);
    eraser_ = controlById<CIconButton>(this, IDC_ERASER);
    showAxes_ = controlById<QCheckBox>(this, IDC_SHOW_FONT_AXES);
    showAdvance_ = controlById<QCheckBox>(this, IDC_SHOW_ADVANCE_BOX);

    for (const IconButtonSetup &setup : kIconButtons) {
        auto *button = controlById<CIconButton>(this, setup.id);
        button->LoadIcons(setup.icon, 0);
        if (setup.tip)
            button->SetTip(QString::fromLatin1(setup.tip), true);
    }
    showAxes_->setChecked(canvas_.show_font_axes);
    showAdvance_->setChecked(canvas_.show_advance_box);

    connect(controlById<QPushButton>(this, IDOK), &QPushButton::clicked, this, [this] { OnOK(); });
    // Cancel is the explicit choice to drop the changes: it does not ask.
    connect(controlById<QPushButton>(this, IDCANCEL), &QPushButton::clicked, this, [this] { QDialog::reject(); });
    connect(zoomIn_, &QAbstractButton::clicked, this, &CGlyphEditDlg::ZoomIn);
    connect(zoomOut_, &QAbstractButton::clicked, this, &CGlyphEditDlg::ZoomOut);
    connect(undo_, &QAbstractButton::clicked, this, &CGlyphEditDlg::Undo);
    connect(redo_, &QAbstractButton::clicked, this, &CGlyphEditDlg::Redo);
    for (auto [id, direction] : kDirectionButtons)
        connect(controlById<CIconButton>(this, id), &QAbstractButton::clicked, this,
                [this, direction = direction] { canvas_.ShiftOrMove(direction); });
    connect(select_, &QAbstractButton::clicked, this, [this] { SelectTool(TOOL_SELECT, select_); });
    connect(pencil_, &QAbstractButton::clicked, this, [this] { SelectTool(TOOL_PENCIL, pencil_); });
    connect(eraser_, &QAbstractButton::clicked, this, [this] { SelectTool(TOOL_ERASER, eraser_); });
    connect(showAxes_, &QAbstractButton::clicked, this, [this] {
        canvas_.show_font_axes = !canvas_.show_font_axes;
        Rebuild();
    });
    connect(showAdvance_, &QAbstractButton::clicked, this, [this] {
        canvas_.show_advance_box = !canvas_.show_advance_box;
        Rebuild();
    });
    for (QScrollBar *bar : {hbar_, vbar_}) {
        bar->setSingleStep(1);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            canvas_.SetScroll(hbar_->value(), vbar_->value());
            Present();
        });
    }

    canvas_.onRebuild = [this] {
        ShowGlyphFields();
        UpdateScrollBars();
        Present();
    };
    canvas_.onPresent = [this] {
        const QRect view = GetViewRect();
        frame_->Show(&canvas_.BackBuffer(), view.topLeft(), view);
    };

    // Keys reach OnKeyDown whichever control has the focus.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    timer_.setInterval(500);
    connect(&timer_, &QTimer::timeout, this, &CGlyphEditDlg::OnTimer);
    timer_.start();
}

CGlyphEditDlg::~CGlyphEditDlg() = default;

bool CGlyphEditDlg::SetGlyph(bdf_glyph *glyph, const bdf_bbx &fontBox, int bpp, int commonWidth) {
    commonWidth_ = commonWidth;
    dwidthEdit_->setReadOnly(commonWidth >= 0);
    dwidthEdit_->setToolTip(commonWidth >= 0 ? QString::fromLatin1(kCommonWidthTip) : QString());
    dwidthEdit_->setModified(false);
    const CEditCanvas::SetUpResult result = canvas_.SetUp(glyph, fontBox, bpp);
    if (result != CEditCanvas::SETUP_READY) {
        // Nothing of another glyph may stay on show.
        frame_->Show(nullptr, {}, {});
        if (result == CEditCanvas::SETUP_TOO_LARGE)
            ShowNotice(this, "This glyph is too large to be edited.");
        else if (result == CEditCanvas::SETUP_BAD_DEPTH)
            ShowNotice(this, "Glyphs of this font's pixel depth cannot be edited.");
        return false;
    }
    // A glyph with a larger zoom limit than the last one's can be zoomed in again.
    if (canvas_.Zoom() < canvas_.MaxZoom())
        zoomIn_->setEnabled(true);
    return true;
}

void CGlyphEditDlg::DetachFont() {
    canvas_.Detach();
    frame_->Show(nullptr, {}, {});
    hide();
}

// ---- Fields and OK ---------------------------------------------------------

void CGlyphEditDlg::ShowGlyphFields() {
    const bdf_glyph *glyph = canvas_.Glyph();
    if (!canvas_.Ready() || !glyph)
        return;
    if (glyph->name)
        nameEdit_->setText(QString::fromLatin1(glyph->name));
    encodingLabel_->setText(EncodingText(*glyph));
    // A width typed and not yet applied survives shifts, zooms and the other rebuilds.
    if (!dwidthEdit_->isModified())
        dwidthEdit_->setText(QString::number(commonWidth_ >= 0 ? commonWidth_ : glyph->dwidth));
    const bdf_bbx &b = glyph->bbx;
    metricsLabel_->setText(QString::asprintf("width %d height %d x_offset %d y_offset %d\r\nascent %d descent %d",
                                             b.width, b.height, b.x_offset, b.y_offset, b.ascent, b.descent));
}

bool CGlyphEditDlg::OnOK() {
    const bool changed = ApplyToGlyph();
    if (changed) {
        // The fields show what was stored, the metrics the glyph's new box.
        dwidthEdit_->setModified(false);
        ShowGlyphFields();
        emit glyphChanged();
    }
    return changed;
}

bool CGlyphEditDlg::ApplyToGlyph() {
    bdf_glyph *glyph = canvas_.Glyph();
    if (!canvas_.Ready() || !glyph)
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
    canvas_.CommitSelection();
    CEditHistory &history = canvas_.History();
    if (history.CanUndo()) {
        changed = true;
        const bdf_bbx &box = canvas_.GridBox();
        if (InkExtent *extent = ComputeInkExtent(history.CurrentBitmap(), box.width, box.height, canvas_.Bpp())) {
            PackIntoGlyph(glyph, *extent, box, canvas_.Bpp());
            free(extent);
        }
    }
    return changed;
}

QByteArray CGlyphEditDlg::TypedName(const bdf_glyph &glyph) const {
    // Names are bytes; Latin-1 carries every byte of a stored name through the edit unchanged.
    const QByteArray name = nameEdit_->text().toLatin1();
    if (name.isEmpty() || !glyph.name || strcmp(name.constData(), glyph.name) == 0)
        return {};
    return name;
}

std::optional<int> CGlyphEditDlg::TypedDeviceWidth(const bdf_glyph &glyph) const {
    const QByteArray width = dwidthEdit_->text().toLatin1();
    if (commonWidth_ >= 0 || width.isEmpty())
        return std::nullopt;
    const int n = atoi(width.constData());
    if (n == int(glyph.dwidth))
        return std::nullopt;
    return n;
}

bool CGlyphEditDlg::ResolvePendingChanges() {
    // A hidden window holds nothing the user still sees as pending.
    const bdf_glyph *glyph = canvas_.Glyph();
    if (!isVisible() || !glyph ||
        (!canvas_.HasUnappliedChanges() && TypedName(*glyph).isEmpty() && !TypedDeviceWidth(*glyph)))
        return true;
    const QString question = PendingChangesQuestion(*glyph);
    switch (prompts::messageBox(this, question, prompts::MB_ICONQUESTION_YESNOCANCEL)) {
    case prompts::IDYES:
        OnOK();
        return true;
    case prompts::IDNO: {
        const bdf_bbx gridBox = canvas_.GridBox();
        SetGlyph(canvas_.Glyph(), gridBox, canvas_.Bpp(), commonWidth_);
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

void CGlyphEditDlg::Rebuild() { canvas_.Rebuild(); }

void CGlyphEditDlg::Present() {
    const QRect view = GetViewRect();
    canvas_.SetViewSize(view.width(), view.height());
    canvas_.Present();
}

QRect CGlyphEditDlg::GetViewRect() const {
    const int right = frame_->width() - (vbar_->isVisibleTo(this) ? vbar_->width() : kMargin);
    const int bottom = frame_->height() - (hbar_->isVisibleTo(this) ? hbar_->height() : kMargin);
    return QRect(QPoint(kMargin, kMargin), QPoint(right - 1, bottom - 1));
}

void CGlyphEditDlg::UpdateScrollBars() {
    const QRect frame = frame_->rect();
    const QSignalBlocker blockH(hbar_), blockV(vbar_);
    const int availableWidth = frame.width() - 2 * kMargin, availableHeight = frame.height() - 2 * kMargin;
    hbar_->setVisible(canvas_.ContentWidth() > availableWidth);
    hbar_->setRange(0, std::max(0, canvas_.ContentWidth() - availableWidth + vbar_->width()));
    vbar_->setVisible(canvas_.ContentHeight() > availableHeight);
    vbar_->setRange(0, std::max(0, canvas_.ContentHeight() - availableHeight + hbar_->height()));
    // A click in the trough moves by what the view shows.
    const QRect view = GetViewRect();
    hbar_->setPageStep(view.width());
    vbar_->setPageStep(view.height());
    hbar_->setValue(canvas_.ScrollX());
    vbar_->setValue(canvas_.ScrollY());
    canvas_.SetScroll(hbar_->value(), vbar_->value());
}

void CGlyphEditDlg::OnWheel(const QWheelEvent *event, bool overHorizontalBar) {
    // Shift, or a wheel over the horizontal bar, turns a vertical wheel sideways.
    QPoint delta = event->angleDelta();
    if ((overHorizontalBar || (event->modifiers() & Qt::ShiftModifier)) && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    // A notch moves the desktop's lines per notch, a line being a row or column of cells.
    const int step = QApplication::wheelScrollLines() * canvas_.Pitch();
    if (const int notches = wheelX_.Take(delta.x()); notches && !hbar_->isHidden())
        hbar_->setValue(hbar_->value() - notches * step);
    if (const int notches = wheelY_.Take(delta.y()); notches && !vbar_->isHidden())
        vbar_->setValue(vbar_->value() - notches * step);
}

bool CGlyphEditDlg::PointToCell(QPoint point, Cell *cell) const {
    const QRect view = GetViewRect();
    const QPoint p = frame_->mapFrom(this, point);
    if (!view.contains(p))
        return false;
    return canvas_.CellAtContent(canvas_.ScrollX() - view.left() + p.x(), canvas_.ScrollY() - view.top() + p.y(),
                                 cell);
}

void CGlyphEditDlg::ShowCoordinates(int k, int r) {
    const bdf_bbx &box = canvas_.GridBox();
    coordinates_->setText(QString::asprintf("(%d, %d)(%d, %d)", k, r, box.x_offset + k, box.ascent - r - 1));
}

void CGlyphEditDlg::ZoomIn() {
    if (canvas_.ZoomIn())
        zoomOut_->setEnabled(true);
    else
        zoomIn_->setEnabled(false);
}

void CGlyphEditDlg::ZoomOut() {
    if (canvas_.ZoomOut())
        zoomIn_->setEnabled(true);
    else
        zoomOut_->setEnabled(false);
}

void CGlyphEditDlg::Undo() { canvas_.Undo(); }
void CGlyphEditDlg::Redo() { canvas_.Redo(); }

void CGlyphEditDlg::OnTimer() {
    redo_->setEnabled(canvas_.History().CanRedo());
    undo_->setEnabled(canvas_.History().CanUndo());
}

// ---- Tools, mouse and keys -------------------------------------------------

void CGlyphEditDlg::SelectTool(int tool, CIconButton *button) {
    for (CIconButton *other : {select_, pencil_, eraser_})
        if (other != button)
            other->SetChecked(0, true);
    canvas_.SelectTool(tool, button->IsChecked());
}

void CGlyphEditDlg::OnCanvasMouse(int event, QPoint point) {
    Cell cell;
    const bool onCell = PointToCell(point, &cell);
    if (onCell && event == MOUSE_MOVE && !canvas_.BothButtonsDown())
        ShowCoordinates(cell.k, cell.r);
    canvas_.OnCanvasMouse(event, onCell ? &cell : nullptr);
    if (onCell && event == MOUSE_MOVE && canvas_.CurrentTool() == TOOL_SELECT && canvas_.OverLiftedSelection(cell))
        frame_->setCursor(Qt::SizeAllCursor);
    else if (event == MOUSE_MOVE)
        frame_->unsetCursor();
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
    if (event->type() == QEvent::Wheel && (watched == frame_ || watched == hbar_ || watched == vbar_)) {
        OnWheel(static_cast<QWheelEvent *>(event), watched == hbar_);
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
    if (canvas_.Selection().active) {
        const int direction = key == Qt::Key_Left    ? SHIFT_LEFT
                              : key == Qt::Key_Up    ? SHIFT_UP
                              : key == Qt::Key_Right ? SHIFT_RIGHT
                              : key == Qt::Key_Down  ? SHIFT_DOWN
                                                     : 0;
        if (direction) {
            canvas_.ShiftOrMove(direction);
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
        frame_->setFocus();
        ZoomIn();
        break;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        frame_->setFocus();
        ZoomOut();
        break;
    default:
        break;
    }
}
