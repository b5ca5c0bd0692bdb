#include "link_label.h"

#include "prompts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

CLinkLabel::CLinkLabel(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop); // a static text's default
}

void CLinkLabel::bind() {
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    if (m_strUrl.isEmpty())
        m_strUrl = text();
    if (text().isEmpty())
        setText(m_strUrl);
    FitToText();
    setCursor(Qt::ArrowCursor);
    setToolTip(m_strUrl);
}

void CLinkLabel::SetLinkUrl(const QString &url) {
    m_strUrl = url;
    FitToText();
}

void CLinkLabel::MarkVisited(bool visited) {
    m_bVisited = visited;
    update();
}

void CLinkLabel::SetUnderlined(bool underlined) {
    m_bUnderline = underlined;
    update();
}

void CLinkLabel::SetItalic(bool italic) {
    m_bItalic = italic;
    update();
}

void CLinkLabel::SetTip(const QString &tip) { setToolTip(tip); }

void CLinkLabel::setLinkCursor(const QCursor &cursor) { setCursor(cursor); }

void CLinkLabel::FitToText() {
    const QFontMetrics metrics(font());
    const int cx = metrics.horizontalAdvance(text());
    const int cy = metrics.height();
    QRect rect = geometry();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignVCenter) {
        const int d = (rect.height() - cy) / 2;
        rect.adjust(0, d, 0, -d);
    } else {
        rect.setHeight(cy);
    }
    if (align & Qt::AlignHCenter) {
        const int d = (rect.width() - cx) / 2;
        rect.adjust(d, 0, -d, 0);
    } else if (align & Qt::AlignRight) {
        rect.setLeft(rect.left() + rect.width() - cx);
    } else {
        rect.setWidth(cx);
    }
    setGeometry(rect);
}

void CLinkLabel::paintEvent(QPaintEvent *) {
    if ((m_bUnderline || m_bItalic) && !m_font) {
        QFont made = font();
        made.setUnderline(m_bUnderline);
        made.setItalic(m_bItalic);
        m_font = made;
    }
    // Nothing fills the background: the dialog shows through, as with a hollow brush.
    QPainter painter(this);
    painter.setFont(m_font ? *m_font : font());
    painter.setPen(QColor::fromRgb(m_bVisited ? kVisitedColour : kLinkColour));
    painter.drawText(contentsRect(), int(alignment()), text());
}

void CLinkLabel::mousePressEvent(QMouseEvent *event) {
    m_bPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = m_bPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_bPressed = false;
    event->accept();
    if (click)
        onClicked();
}

void CLinkLabel::onClicked() {
    const int result = controls::openUrl(m_strUrl, m_platform);
    if (result > 32) {
        MarkVisited(true);
    } else {
        m_bVisited = false;
        update();
        QApplication::beep();
        prompts::messageBox(this, controls::openErrorText(result), prompts::MB_ICONEXCLAMATION_OK);
    }
}
