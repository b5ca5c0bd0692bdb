#ifndef GLYPHWERK_CONTROLS_LINK_LABEL_H
#define GLYPHWERK_CONTROLS_LINK_LABEL_H

// A static text turned into a link: drawn in the link colour (another once
// visited), optionally underlined and in italics, with a tool tip and its own
// cursor; it fits its rectangle to its text and opens its URL on a click.

#include "link_open.h"

#include <QCursor>
#include <QFont>
#include <QLabel>
#include <optional>

class CLinkLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr QRgb kLinkColour = 0xFF0000EE;    // red 0, green 0, blue 238
    static constexpr QRgb kVisitedColour = 0xFF551A8B; // red 85, green 26, blue 139

    explicit CLinkLabel(QWidget *parent = nullptr);

    // Makes the label a link once it has its place in the dialog: it reports
    // clicks, takes its text as the URL when none is set (or shows the URL when
    // it has no text), fits itself to the text, shows the arrow cursor and the
    // URL as tool tip.
    void bind();

    void SetLinkUrl(const QString &url); // stores the URL and refits
    void MarkVisited(bool visited);
    void SetUnderlined(bool underlined);
    void SetItalic(bool italic);
    void SetTip(const QString &tip);
    void setLinkCursor(const QCursor &cursor);

    // Moves and sizes the label to its text's measured extent, keeping its
    // alignment: left edge, right edge or centre; top or vertical centre.
    void FitToText();

    // How the click opens the URL; the desktop's by default.
    void setPlatform(controls::LinkPlatform platform) { m_platform = std::move(platform); }

    QString linkUrl() const { return m_strUrl; }
    bool isVisited() const { return m_bVisited; }
    // The underlined/italic font, made at the first paint that needs it and
    // kept from then on (later flag changes do not remake it).
    const std::optional<QFont> &linkFont() const { return m_font; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void onClicked();

    bool m_bVisited = false;
    bool m_bUnderline = false;
    bool m_bItalic = false;
    QString m_strUrl;
    std::optional<QFont> m_font;
    bool m_bPressed = false;
    controls::LinkPlatform m_platform = controls::desktopLinkPlatform();
};

#endif
