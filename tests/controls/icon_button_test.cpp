#include "icon_button.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

static void Move(QWidget *widget, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// A 50 x 30 push button with in and out icons, and a check box.
TEST(IconButton, DrawsFlatIdleRaisedUnderTheMouseSunkenWhenPressedOrCheckedAndGreyedWhenDisabled) {
    QWidget window;
    auto *button = new CIconButton(false, &window), *box = new CIconButton(true, &window);
    button->setGeometry(10, 10, 50, 30);
    box->setGeometry(70, 10, 50, 30);
    ASSERT_EQ(button->LoadIcons(141, 140) + box->LoadIcons(148), 0);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QPalette colours = button->palette();
    const QRgb face = colours.color(QPalette::Button).rgb(), light = colours.color(QPalette::Light).rgb(),
               dark = colours.color(QPalette::Dark).rgb();
    // The border (top left, left bottom, right top, bottom middle), then the 32 x 32 icon
    // centred at (9, -1) inside the border, looked for `shift` pixels right and down.
    const auto look = [&](CIconButton *b, int shift = 0) {
        const QImage image = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return std::make_pair(std::vector<QRgb>{image.pixel(0, 0), image.pixel(0, 28), image.pixel(49, 0), image.pixel(25, 29)},
                              image.copy(10 + shift, 1 + shift, 29, 27));
    };
    const auto idle = look(button), unchecked = look(box);
    EXPECT_EQ(idle.first, (std::vector<QRgb>{face, face, face, face}));
    Move(button, {20, 10}, Qt::LeftButton); // dragged in from elsewhere: not lit
    EXPECT_FALSE(button->IsHover());
    Move(button, {20, 10});
    const auto raised = look(button);
    EXPECT_EQ(raised.first, (std::vector<QRgb>{light, light, dark, dark}));
    EXPECT_NE(raised.second, idle.second) << "the out icon shows until the mouse comes over";
    button->setDown(true);
    EXPECT_EQ(look(button).first, (std::vector<QRgb>{dark, dark, light, light}));
    EXPECT_EQ(look(button, 1).second, raised.second) << "the icon moves one pixel right and down";
    button->setDown(false);
    Move(button, {55, 10});
    EXPECT_EQ(look(button), idle);

    Move(button, {20, 10});
    button->setDown(true);
    button->setEnabled(false); // not focused: the disabling itself ends the hover and the press
    EXPECT_FALSE(button->IsHover());
    EXPECT_EQ(look(button).first, idle.first);
    EXPECT_NE(look(button).second, idle.second);

    EXPECT_EQ(box->SetCheck(2), 0); // indeterminate checks
    EXPECT_EQ(look(box).first, (std::vector<QRgb>{dark, dark, light, light}));
    EXPECT_EQ(look(box).second, unchecked.second) << "a check box's icon stays in place";
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(box->GetCheck(), 0);
}
