#include "icon_button.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 50, kHeight = 30;

// A window with a line edit before the buttons in the tab order.
class IconButton : public ::testing::Test {
protected:
    IconButton() {
        window.resize(200, 100);
        before = new QLineEdit(&window);
        before->setGeometry(0, 60, 40, 20);
    }
    void Show() {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // A button at (10, 10) with icon `in` (and `out`) loaded when given.
    CIconButton *Add(bool checkBox, int in = 0, int out = 0) {
        auto *button = new CIconButton(checkBox, &window);
        button->setGeometry(10, 10, kWidth, kHeight);
        if (in) {
            EXPECT_EQ(button->LoadIcons(in, out), 0);
        }
        return button;
    }
    QWidget window;
    QLineEdit *before;
};

QImage Look(CIconButton *button) { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }

void Move(QWidget *widget, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

QImage IconArea(const QImage &look, int dx = 0, int dy = 0) {
    // The 32 x 32 icon centred in 50 x 30: left (50 - 32) / 2 = 9, top (30 - 32) / 2 = -1.
    return look.copy(9 + dx, -1 + dy, 32, 32);
}

TEST_F(IconButton, APushButtonIsFlatWhenIdleRaisedUnderTheMouseAndSunkenWithItsIconMovedWhilePressed) {
    CIconButton *button = Add(false, 141);
    Show();
    const QColor face = button->palette().color(QPalette::Button);
    const QColor light = button->palette().color(QPalette::Light), dark = button->palette().color(QPalette::Dark);

    const QImage idle = Look(button);
    EXPECT_EQ(idle.pixel(0, 0), face.rgb());
    EXPECT_EQ(idle.pixel(kWidth - 1, kHeight - 1), face.rgb());

    Move(button, {20, 10});
    ASSERT_TRUE(button->IsHover());
    const QImage raised = Look(button);
    EXPECT_EQ(raised.pixel(0, 0), light.rgb());
    EXPECT_EQ(raised.pixel(0, kHeight - 2), light.rgb());
    EXPECT_EQ(raised.pixel(kWidth - 1, kHeight - 1), dark.rgb());
    EXPECT_EQ(raised.pixel(kWidth - 1, 0), dark.rgb());

    button->setDown(true);
    const QImage sunken = Look(button);
    EXPECT_EQ(sunken.pixel(0, 0), dark.rgb());
    EXPECT_EQ(sunken.pixel(kWidth - 1, kHeight - 1), light.rgb());
    // The icon moved one pixel right and down (compared inside the border).
    EXPECT_EQ(IconArea(sunken, 1, 1).copy(1, 2, 29, 27), IconArea(raised).copy(1, 2, 29, 27));
    EXPECT_NE(IconArea(sunken).copy(1, 2, 29, 27), IconArea(raised).copy(1, 2, 29, 27));
    button->setDown(false);

    // Only the in icon: the same picture in every state.
    Move(button, {kWidth + 5, 10});
    EXPECT_FALSE(button->IsHover());
    EXPECT_EQ(Look(button), idle);
}

TEST_F(IconButton, TheOutIconShowsUntilTheMouseComesOver) {
    CIconButton *button = Add(false, 141, 140);
    Show();
    const QImage out = IconArea(Look(button)).copy(2, 2, 28, 28);
    Move(button, {20, 10});
    EXPECT_NE(IconArea(Look(button)).copy(2, 2, 28, 28), out);
}

TEST_F(IconButton, ACheckedCheckBoxStaysSunkenWithItsIconInPlaceAndAClickUnchecksIt) {
    CIconButton *button = Add(true, 148);
    Show();
    const QImage unchecked = Look(button);
    button->SetChecked(1, true);
    EXPECT_EQ(button->IsChecked(), 1);
    const QImage checked = Look(button);
    const QColor dark = button->palette().color(QPalette::Dark);
    EXPECT_EQ(checked.pixel(0, 0), dark.rgb());
    EXPECT_FALSE(button->IsHover());
    EXPECT_EQ(IconArea(checked).copy(1, 2, 30, 28), IconArea(unchecked).copy(1, 2, 30, 28));

    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button->IsChecked(), 0);
    EXPECT_TRUE(button->hasFocus());
}

TEST_F(IconButton, CheckStateMessages) {
    CIconButton *box = Add(true);
    EXPECT_EQ(box->SetCheck(2), 0); // indeterminate checks
    EXPECT_EQ(box->GetCheck(), 1);
    box->SetCheck(3);
    EXPECT_EQ(box->GetCheck(), 0);
    box->SetCheck(1);
    box->SetChecked(0, false);
    EXPECT_EQ(box->GetCheck(), 0);

    CIconButton *push = Add(false);
    push->SetCheck(1);
    push->SetChecked(1);
    EXPECT_EQ(push->GetCheck(), 0);
    EXPECT_EQ(push->IsChecked(), 0);
}

TEST_F(IconButton, ADoubleClickCountsAsTwoClicks) {
    CIconButton *button = Add(false);
    Show();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    // What the window system delivers for a double click: press, release, double click, release.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, QPointF(20, 10), button->mapToGlobal(QPointF(20, 10)), Qt::LeftButton,
                          down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &event);
    }
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(IconButton, DisablingMovesTheFocusOnAndDrawsTheIconDisabled) {
    CIconButton *button = Add(false, 141);
    auto *next = new QLineEdit(&window);
    next->setGeometry(100, 60, 40, 20);
    QWidget::setTabOrder(before, button);
    QWidget::setTabOrder(button, next);
    Show();
    const QImage enabled = Look(button);
    button->setFocus();
    Move(button, {20, 10});
    ASSERT_TRUE(button->IsHover());
    button->setEnabled(false);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_FALSE(button->IsHover());
    const QImage disabled = Look(button);
    EXPECT_NE(IconArea(disabled), IconArea(enabled));
    EXPECT_EQ(disabled.pixel(0, 0), button->palette().color(QPalette::Button).rgb());
}

TEST_F(IconButton, DraggingInWithTheLeftButtonHeldElsewhereDoesNotLightIt) {
    CIconButton *button = Add(false);
    Show();
    Move(button, {20, 10}, Qt::LeftButton);
    EXPECT_FALSE(button->IsHover());
    Move(button, {20, 10});
    EXPECT_TRUE(button->IsHover());
    Move(button, {21, 10}, Qt::LeftButton); // once lit, it stays lit while the button is held over it
    EXPECT_TRUE(button->IsHover());
}

TEST_F(IconButton, TheFaceKeepsTheColourReadWhenTheButtonWasBuilt) {
    CIconButton *early = Add(false);
    const QColor before = early->palette().color(QPalette::Button);
    QPalette changed = window.palette();
    changed.setColor(QPalette::Button, QColor(10, 200, 30));
    window.setPalette(changed);
    CIconButton *late = Add(false);
    Show();
    EXPECT_EQ(Look(early).pixel(kWidth / 2, kHeight / 2), before.rgb());
    EXPECT_EQ(Look(late).pixel(kWidth / 2, kHeight / 2), qRgb(10, 200, 30));
}

TEST_F(IconButton, GreyCopyUsesTheLuminanceFormulaAndKeepsBlackAndTransparency) {
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 255));
    image.setPixel(1, 0, qRgba(255, 0, 0, 255));
    image.setPixel(2, 0, qRgba(10, 200, 30, 255));
    image.setPixel(3, 0, qRgba(0, 0, 0, 0));
    const QImage grey = CIconButton::MakeGreyImage(image);
    EXPECT_EQ(grey.pixel(0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(grey.pixel(1, 0), qRgba(76, 76, 76, 255));    // 255 * 0.299 = 76.245
    EXPECT_EQ(grey.pixel(2, 0), qRgba(123, 123, 123, 255)); // 117.4 + 3.42 + 2.99 = 123.81
    EXPECT_EQ(qAlpha(grey.pixel(3, 0)), 0);

    CIconButton *button = Add(false, 141, CIconButton::kGreyIcon);
    const QImage in = button->InIcon().pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage out = button->OutIcon().pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(out.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              CIconButton::MakeGreyImage(in).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    int coloured = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = out.pixel(x, y);
            EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
            const QRgb o = in.pixel(x, y);
            coloured += qRed(o) != qBlue(o);
        }
    EXPECT_GT(coloured, 0); // the original was not grey already
}

TEST_F(IconButton, TipsAndIcons) {
    CIconButton *button = Add(false);
    button->SetTip("Zoom (Ctrl+'+')", true);
    EXPECT_EQ(button->toolTip(), "Zoom (Ctrl+'+')");
    EXPECT_TRUE(button->TipActive());
    button->SetTip("", false);
    EXPECT_TRUE(button->TipActive());
    button->SetTip("Undo (Ctrl+'z')", false);
    EXPECT_FALSE(button->TipActive());

    for (int number : {132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 148, 150, 151, 152, 153}) {
        ASSERT_EQ(button->LoadIcons(number), 0) << number;
        EXPECT_EQ(button->IconSize(), QSize(32, 32));
        const QList<QSize> sizes = button->InIcon().availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(64, 64))) << number;
    }
    EXPECT_EQ(button->LoadIcons(9999), 1);
    EXPECT_TRUE(button->InIcon().isNull());
    EXPECT_EQ(button->SetIcons(QIcon()), 0);
}

} // namespace
