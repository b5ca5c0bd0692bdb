#include "icon_button.h"

#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>

// Outside any namespace, as the resource system requires.
static void InitIconResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
}

namespace {

constexpr int kIconSide = 32;

QSize IconBaseSize(const QIcon &icon) {
    const QList<QSize> sizes = icon.availableSizes();
    return sizes.isEmpty() ? QSize() : sizes.first();
}

} // namespace

CIconButton::CIconButton(bool checkBox, QWidget *parent)
    : QAbstractButton(parent), m_fill(palette().color(QPalette::Button)) {
    setCheckable(checkBox);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

CIconButton::~CIconButton() = default;

int CIconButton::LoadIcons(int in, int out) {
    InitIconResources();
    auto load = [](int number) {
        const QString base = QStringLiteral(":/icons/%1").arg(number);
        QIcon icon;
        if (QFile::exists(base + ".png")) {
            icon.addFile(base + ".png", QSize(kIconSide, kIconSide));
            if (QFile::exists(base + "@2x.png"))
                icon.addFile(base + "@2x.png", QSize(2 * kIconSide, 2 * kIconSide));
        }
        return icon;
    };
    const QIcon inIcon = load(in);
    if (inIcon.isNull()) {
        SetIcons(QIcon());
        return 1;
    }
    if (out == kGreyIcon)
        return SetIcons(inIcon, QIcon(), true);
    const QIcon outIcon = out ? load(out) : QIcon();
    if (out && outIcon.isNull()) {
        SetIcons(QIcon());
        return 1;
    }
    return SetIcons(inIcon, outIcon);
}

int CIconButton::SetIcons(const QIcon &in, const QIcon &out, bool greyOut) {
    m_inIcon = m_outIcon = QIcon();
    m_inSize = m_outSize = QSize();
    int result = 0;
    if (!in.isNull()) {
        const QIcon outIcon = greyOut ? MakeGreyIcon(in) : out;
        const QSize inSize = IconBaseSize(in), outSize = IconBaseSize(outIcon);
        if (inSize.isEmpty() || ((greyOut || !out.isNull()) && outSize.isEmpty())) {
            result = 1;
        } else {
            m_inIcon = in;
            m_inSize = inSize;
            m_outIcon = outIcon;
            m_outSize = outSize;
        }
    }
    update();
    return result;
}

void CIconButton::SetTip(const QString &text, bool activate) {
    if (text.isEmpty())
        return;
    m_strTip = text;
    setToolTip(text);
    m_bTipActive = activate;
}

int CIconButton::SetChecked(int state, bool repaint) {
    if (!IsCheckBox())
        return 0;
    setChecked(state != 0);
    if (repaint)
        update();
    return 0;
}

int CIconButton::IsChecked() const { return IsCheckBox() && isChecked() ? 1 : 0; }

QImage CIconButton::MakeGreyImage(const QImage &image) {
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb c = line[x];
            if ((c & 0x00FFFFFFu) == 0)
                continue; // pure black stays black
            const int g = int(qGreen(c) * 0.587 + qBlue(c) * 0.114 + qRed(c) * 0.299);
            line[x] = qRgba(g, g, g, qAlpha(c));
        }
    }
    return grey;
}

QIcon CIconButton::MakeGreyIcon(const QIcon &icon) {
    QIcon grey;
    for (const QSize &size : icon.availableSizes())
        grey.addPixmap(QPixmap::fromImage(MakeGreyImage(icon.pixmap(size).toImage())));
    return grey;
}

// ---- Painting --------------------------------------------------------------

void CIconButton::paintEvent(QPaintEvent *) {
    m_bPressed = isDown() || (IsCheckBox() && isChecked());
    m_bDisabled = !isEnabled();
    QPainter painter(this);
    const QRect item = rect();
    DrawBackground(painter, item);
    DrawBorder(painter, item);
    if (!m_inIcon.isNull())
        DrawIconImage(painter, item);
}

void CIconButton::DrawBackground(QPainter &painter, const QRect &item) { painter.fillRect(item, m_fill); }

void CIconButton::DrawBorder(QPainter &painter, const QRect &item) {
    if (!m_bPressed && !m_bHover)
        return;
    const QColor shadow = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
    const QColor &topLeft = m_bPressed ? shadow : light;
    const QColor &bottomRight = m_bPressed ? light : shadow;
    const int x = item.x(), y = item.y(), w = item.width(), h = item.height();
    painter.fillRect(x, y, w - 1, 1, topLeft);
    painter.fillRect(x, y, 1, h - 1, topLeft);
    painter.fillRect(x + w - 1, y, 1, h, bottomRight);
    painter.fillRect(x, y + h - 1, w, 1, bottomRight);
}

void CIconButton::DrawIconImage(QPainter &painter, const QRect &item) {
    const bool showIn = IsCheckBox() ? m_bPressed : (m_bPressed || m_bHover);
    const bool useOut = !showIn && !m_outIcon.isNull();
    const QIcon &icon = useOut ? m_outIcon : m_inIcon;
    const QSize size = useOut ? m_outSize : m_inSize;
    int left = item.left() + (item.width() - size.width()) / 2;
    int top = item.top() + (item.height() - size.height()) / 2;
    if (m_bPressed && !IsCheckBox()) {
        left += 1;
        top += 1;
    }
    const QPixmap pixmap = icon.pixmap(size, devicePixelRatioF(), m_bDisabled ? QIcon::Disabled : QIcon::Normal);
    painter.drawPixmap(QRect(QPoint(left, top), size), pixmap);
}

// ---- Hover, focus and tips -------------------------------------------------

void CIconButton::mouseMoveEvent(QMouseEvent *event) {
    QAbstractButton::mouseMoveEvent(event);
    // Pressing elsewhere and dragging over the button does not light it.
    if ((event->buttons() & Qt::LeftButton) && !m_bHover)
        return;
    if (rect().contains(event->position().toPoint())) {
        if (!m_bHover) {
            m_bHover = true;
            update();
        }
        return;
    }
    EndHover();
}

void CIconButton::leaveEvent(QEvent *event) {
    QAbstractButton::leaveEvent(event);
    EndHover();
}

void CIconButton::focusOutEvent(QFocusEvent *event) {
    QAbstractButton::focusOutEvent(event);
    EndHover();
}

void CIconButton::changeEvent(QEvent *event) {
    QAbstractButton::changeEvent(event);
    // Qt itself moves the focus on to the next tab stop when a focused button is disabled.
    if ((event->type() == QEvent::EnabledChange && !isEnabled()) ||
        (event->type() == QEvent::ActivationChange && !isActiveWindow()))
        EndHover();
}

bool CIconButton::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip && !m_bTipActive) {
        event->ignore();
        return true;
    }
    return QAbstractButton::event(event);
}

void CIconButton::EndHover() {
    if (!m_bHover)
        return;
    m_bHover = false;
    update();
}
