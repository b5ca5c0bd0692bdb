#include "icon_button.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Move(QWidget *widget, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// A 50 x 30 push button with in and out icons and a check box, between two line edits in the tab order.
TEST(IconButton, DrawsFlatIdleRaisedUnderTheMouseSunkenWhenPressedOrCheckedAndGreyedWhenDisabled) {
    QWidget window;
    auto *next = new QLineEdit(&window);
    next->setGeometry(0, 60, 40, 20);
    auto *button = new CIconButton(false, &window), *box = new CIconButton(true, &window);
    button->setGeometry(10, 10, 50, 30);
    box->setGeometry(70, 10, 50, 30);
    ASSERT_EQ(button->LoadIcons(141, 140) + box->LoadIcons(148), 0);
    QWidget::setTabOrder(button, next);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QRgb face = button->palette().color(QPalette::Button).rgb(), light = button->palette().color(QPalette::Light).rgb(),
               dark = button->palette().color(QPalette::Dark).rgb();
    // The border (top left, left bottom, right top, bottom middle), then the 32 x 32 icon centred
    // (left 9, top -1), inside the border; `shift` moves where the icon is looked for.
    const auto look = [&](CIconButton *b, int shift = 0) {
        const QImage image = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return std::make_pair(std::vector<QRgb>{image.pixel(0, 0), image.pixel(0, 28), image.pixel(49, 0), image.pixel(25, 29)},
                              image.copy(10 + shift, 1 + shift, 29, 27));
    };
    const auto idle = look(button);
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
    EXPECT_NE(look(button).second, raised.second);
    button->setDown(false);
    Move(button, {55, 10});
    EXPECT_EQ(look(button), idle);
    Move(button, {20, 10});
    button->setFocus();
    next->setFocus(); // losing the focus ends the hover
    EXPECT_FALSE(button->IsHover());

    Move(button, {20, 10});
    button->setDown(true);
    button->setEnabled(false); // not focused: the disabling itself ends the hover and the press
    EXPECT_FALSE(button->IsHover());
    EXPECT_EQ(look(button).first, idle.first);
    EXPECT_NE(look(button).second, idle.second);
    button->setEnabled(true);
    button->setFocus();
    button->setEnabled(false);
    EXPECT_TRUE(next->hasFocus());

    const auto unchecked = look(box);
    EXPECT_EQ(box->SetCheck(2), 0); // indeterminate checks
    EXPECT_EQ(look(box).first, (std::vector<QRgb>{dark, dark, light, light}));
    EXPECT_EQ(look(box).second, unchecked.second) << "a check box's icon stays in place";
    QSignalSpy clicks(box, &QAbstractButton::clicked);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(box->GetCheck(), 0);
    button->SetCheck(1);
    EXPECT_EQ(button->GetCheck(), 0) << "a push button does not check";
}

TEST(IconButton, TheGreyOutIconTakesTheLuminanceOfEachPixelButKeepsBlackAndTransparency) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(10, 200, 30));
    image.setPixel(1, 0, qRgba(0, 0, 0, 255));
    image.setPixel(2, 0, qRgba(0, 0, 0, 0));
    const QImage grey = CIconButton::MakeGreyImage(image);
    EXPECT_EQ(grey.pixel(0, 0), qRgb(123, 123, 123)); // 117.4 + 3.42 + 2.99 = 123.81
    EXPECT_EQ(grey.copy(1, 0, 2, 1), image.copy(1, 0, 2, 1));
    CIconButton button(false);
    ASSERT_EQ(button.LoadIcons(141, CIconButton::kGreyIcon), 0);
    // Compared premultiplied, as pixmaps keep them.
    const auto pixels = [](const QImage &image) { return image.convertToFormat(QImage::Format_ARGB32_Premultiplied); };
    const QImage in = button.InIcon().pixmap(QSize(32, 32), 1.0).toImage();
    const QImage out = pixels(button.OutIcon().pixmap(QSize(32, 32), 1.0).toImage());
    EXPECT_EQ(out, pixels(CIconButton::MakeGreyImage(in)));
    EXPECT_NE(out, pixels(in)) << "the original was not grey already";
    EXPECT_EQ(button.LoadIcons(9999), 1);
}

} // namespace
