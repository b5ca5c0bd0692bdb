#include "dialog_builder.h"
#include "find_glyph_template.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace res;

TEST(DialogBuilder, DialogUnitsBecomePixelsRoundedLikeMulDivInTheTemplatesFontOrTheApplicationsWhenMissing) {
    const struct {
        QRect units;
        QSize base;
        QRect pixels;
    } cases[] = {
        {{7, 12, 52, 8}, {6, 12}, {11, 18, 78, 12}}, // 10.5 rounds up
        {{-3, -5, 1, 1}, {8, 16}, {-6, -10, 2, 2}},
        {{1, 1, 1, 1}, {5, 13}, {1, 2, 1, 2}}, // 1.25 -> 1, 1.625 -> 2
    };
    for (const auto &c : cases)
        EXPECT_EQ(dialogUnitsToPixels(c.units.x(), c.units.y(), c.units.width(), c.units.height(), c.base), c.pixels);

    DialogTemplate missing{1, "IDD_X", "X", 10, 10, "NoSuchFace Glyphwerk", 9, {}};
    const QFont font = templateFont(missing);
    EXPECT_EQ(font.pixelSize(), 12); // 9 points at 96 dpi
    EXPECT_EQ(font.family(), QApplication::font().family());
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(baseUnits(font), QSize((letters / 26 + 1) / 2, metrics.height()));
}

TEST(DialogBuilder, BuildsAFixedDialogWhoseControlsAreFoundByIdAndKindAndTabInTemplateOrder) {
    QDialog dialog;
    const QSize base = buildDialog(findGlyphTemplate(), &dialog);
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_EQ(dialog.size(), dialogUnitsToPixels(0, 0, 218, 71, base).size());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a dialog window is not resizable";

    auto *edit = controlById<QLineEdit>(&dialog, IDC_ENCODING);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), dialogUnitsToPixels(60, 11, 36, 12, base));
    EXPECT_TRUE(controlById<QPushButton>(&dialog, IDOK)->isDefault());
    EXPECT_FALSE(controlById<QPushButton>(&dialog, IDCANCEL)->isDefault());
    EXPECT_EQ(controlById<QLabel>(&dialog, IDC_RANGE)->text(), "(0000-FFFF)");
    EXPECT_EQ(controlById<QLineEdit>(&dialog, IDC_RANGE), nullptr) << "wrong kind gives null";
    EXPECT_EQ(dialog.findChild<QGroupBox *>()->geometry(), dialogUnitsToPixels(7, 27, 129, 38, base));

    auto *dec = controlById<QRadioButton>(&dialog, IDC_RADIO_DEC);
    auto *hex = controlById<QRadioButton>(&dialog, IDC_RADIO_HEX);
    ASSERT_TRUE(dec && hex);
    dec->setChecked(true);
    hex->setChecked(true);
    EXPECT_FALSE(dec->isChecked()) << "one group";
    EXPECT_EQ(dec->focusPolicy(), Qt::ClickFocus) << "radio buttons are not tab stops";
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    edit->setFocus();
    EXPECT_EQ(edit->nextInFocusChain(), controlById(&dialog, IDOK));
    EXPECT_EQ(controlById(&dialog, IDOK)->nextInFocusChain(), controlById(&dialog, IDCANCEL));
}

TEST(DialogBuilder, ACustomFactoryReplacesAControlTheHiddenFlagHidesAndAChildFormStaysResizable) {
    DialogTemplate form{101, "IDD_FORM", nullptr, 100, 50, "System", 10,
                        {{7, "IDC_CUSTOM", ControlKind::Custom, "", 1, 2, 30, 20, None},
                         {8, "IDC_HIDDEN", ControlKind::Label, "x", 1, 2, 30, 20, Hidden}}};
    QWidget parent;
    QWidget *made = nullptr;
    BuildOptions options;
    options.createControl = [&](const ControlTemplate &control, QWidget *owner) -> QWidget * {
        return control.id == 7 ? made = new QPushButton("custom", owner) : nullptr;
    };
    const QSize base = buildDialog(form, &parent, options);
    EXPECT_EQ(controlById(&parent, 7), made);
    EXPECT_EQ(made->geometry(), dialogUnitsToPixels(1, 2, 30, 20, base));
    EXPECT_TRUE(controlById(&parent, 8)->isHidden());
    EXPECT_FALSE(made->isHidden());
    EXPECT_EQ(parent.size(), dialogUnitsToPixels(0, 0, 100, 50, base).size());
    EXPECT_NE(parent.minimumSize(), parent.maximumSize());
}
