#ifndef GLYPHWERK_CONTROLS_ICON_BUTTON_H
#define GLYPHWERK_CONTROLS_ICON_BUTTON_H

// A flat button that shows an icon instead of its caption: raised edge while
// the mouse is over it, sunken while pressed, optionally a check box that stays
// sunken while checked. Dialogs build it for the template buttons that show
// icons; it is a check box exactly when the template button is one.

#include <QAbstractButton>
#include <QIcon>

class CIconButton : public QAbstractButton {
    Q_OBJECT

public:
    // As the out icon of LoadIcons and SetIcons: a grey copy of the in icon.
    static constexpr int kGreyIcon = -2;

    explicit CIconButton(bool checkBox = false, QWidget *parent = nullptr);
    ~CIconButton() override;

    // Loads icon resource `in` at 32 x 32 and `out` (0 none, kGreyIcon a grey
    // copy of `in`) and shows them; result as SetIcons, 1 also for an unknown number.
    int LoadIcons(int in, int out = 0);
    // Shows `in` while hovered or pressed and `out` otherwise (`in` throughout when
    // `out` is null). Result 0; 1 when an icon has no size, leaving the button
    // without icons. A null `in` clears both and gives 0.
    int SetIcons(const QIcon &in, const QIcon &out = QIcon(), bool greyOut = false);
    // Sets the tool-tip text and switches the tip on or off; an empty text does nothing.
    void SetTip(const QString &text, bool activate);
    // Check boxes only: 1 for any non-zero state, else 0. Result 0.
    int SetChecked(int state, bool repaint = true);
    int IsChecked() const;
    // The check-state messages: 1 or 2 check, anything else unchecks (check boxes only).
    int SetCheck(int state) { return SetChecked(state == 1 || state == 2, true); }
    int GetCheck() const { return IsChecked(); }

    bool IsCheckBox() const { return isCheckable(); }
    bool IsHover() const { return m_bHover; }
    bool TipActive() const { return m_bTipActive; }
    QSize IconSize() const { return m_inSize; }
    const QIcon &InIcon() const { return m_inIcon; }
    const QIcon &OutIcon() const { return m_outIcon; }

    // A copy of `icon` in which every pixel that is not pure black becomes the grey
    // int(green * 0.587 + blue * 0.114 + red * 0.299); transparency is kept.
    static QIcon MakeGreyIcon(const QIcon &icon);
    static QImage MakeGreyImage(const QImage &image);

protected:
    void paintEvent(QPaintEvent *event) override;
    virtual void DrawBackground(QPainter &painter, const QRect &item);
    virtual void DrawBorder(QPainter &painter, const QRect &item);
    virtual void DrawIconImage(QPainter &painter, const QRect &item);

    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void EndHover();

    bool m_bPressed = false;
    bool m_bDisabled = false;
    bool m_bHover = false;
    const QColor m_fill; // the button face as it was when the button was built
    QIcon m_inIcon, m_outIcon;
    QSize m_inSize, m_outSize;
    QString m_strTip;
    bool m_bTipActive = false;
};

#endif
