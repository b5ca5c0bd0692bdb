#include "dialog_builder.h"
#include "find_glyph_template.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace res;

TEST(DialogBuilder, DialogUnitsConvertWithBaseUnitsRoundingLikeMulDiv) {
    const QSize base(6, 12);
    EXPECT_EQ(dialogUnitsToPixels(7, 12, 52, 8, base), QRect(11, 18, 78, 12)); // 10.5 rounds up
    EXPECT_EQ(dialogUnitsToPixels(0, 0, 657, 452, base), QRect(0, 0, 986, 678));
    EXPECT_EQ(dialogUnitsToPixels(-3, -5, 1, 1, QSize(8, 16)), QRect(-6, -10, 2, 2));
    EXPECT_EQ(dialogUnitsToPixels(1, 1, 1, 1, QSize(5, 13)), QRect(1, 2, 1, 2)); // 1.25 -> 1, 1.625 -> 2
}

TEST(DialogBuilder, FontFollowsTemplateSizeAndFallsBackForMissingFaces) {
    DialogTemplate missing{1, "IDD_X", "X", 10, 10, "NoSuchFace Glyphwerk", 10, {}};
    const QFont font = templateFont(missing);
    EXPECT_EQ(font.pixelSize(), 13); // 10 points at 96 dpi
    EXPECT_EQ(font.family(), QApplication::font().family());
    missing.fontPointSize = 9;
    EXPECT_EQ(templateFont(missing).pixelSize(), 12);

    const QSize base = baseUnits(font);
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(base.width(), (letters / 26 + 1) / 2);
    EXPECT_EQ(base.height(), metrics.height());
    EXPECT_GT(base.width(), 0);
}

TEST(DialogBuilder, BuildsEveryControlWithIdNameKindTextAndRectangle) {
    QDialog dialog;
    const DialogTemplate &find = findGlyphTemplate();
    const QSize base = buildDialog(find, &dialog);
    EXPECT_EQ(dialogBaseUnits(&dialog), base);
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_EQ(dialog.objectName(), "IDD_FIND_GLYPH");
    EXPECT_EQ(dialog.size(), dialogUnitsToPixels(0, 0, 218, 71, base).size());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a dialog window is not resizable";

    auto *edit = controlById<QLineEdit>(&dialog, IDC_ENCODING);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->objectName(), "IDC_ENCODING");
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(edit->geometry(), dialogUnitsToPixels(60, 11, 36, 12, base));
    EXPECT_EQ(edit->property("controlId").toInt(), IDC_ENCODING);

    auto *ok = controlById<QPushButton>(&dialog, IDOK);
    auto *cancel = controlById<QPushButton>(&dialog, IDCANCEL);
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->text(), "Find");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    EXPECT_EQ(cancel->geometry(), dialogUnitsToPixels(161, 24, 50, 14, base));

    auto *range = controlById<QLabel>(&dialog, IDC_RANGE);
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->text(), "(0000-FFFF)");
    EXPECT_EQ(controlById<QLineEdit>(&dialog, IDC_RANGE), nullptr) << "wrong kind gives null";
    EXPECT_EQ(controlById(&dialog, 4242), nullptr);

    const auto groups = dialog.findChildren<QGroupBox *>();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0]->title(), "Format");
    EXPECT_EQ(groups[0]->property("controlId").toInt(), -1);
    EXPECT_EQ(groups[0]->geometry(), dialogUnitsToPixels(7, 27, 129, 38, base));
}

TEST(DialogBuilder, RadioGroupsAreExclusiveAndTabStopsFollowTheTemplate) {
    QDialog dialog;
    buildDialog(findGlyphTemplate(), &dialog);
    auto *dec = controlById<QRadioButton>(&dialog, IDC_RADIO_DEC);
    auto *hex = controlById<QRadioButton>(&dialog, IDC_RADIO_HEX);
    ASSERT_TRUE(dec && hex);
    ASSERT_NE(dec->group(), nullptr);
    EXPECT_EQ(dec->group(), hex->group());
    dec->setChecked(true);
    hex->setChecked(true);
    EXPECT_FALSE(dec->isChecked());
    EXPECT_EQ(dec->focusPolicy(), Qt::ClickFocus) << "radio buttons are not tab stops";

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto *edit = controlById(&dialog, IDC_ENCODING);
    edit->setFocus();
    EXPECT_EQ(edit->nextInFocusChain(), controlById(&dialog, IDOK));
    EXPECT_EQ(controlById(&dialog, IDOK)->nextInFocusChain(), controlById(&dialog, IDCANCEL));
}

TEST(DialogBuilder, CustomFactoryReplacesAControlAndHiddenFlagHides) {
    DialogTemplate form{101, "IDD_FORM", nullptr, 100, 50, "System", 10,
                        {{7, "IDC_CUSTOM", ControlKind::Custom, "", 1, 2, 30, 20, None},
                         {8, "IDC_HIDDEN", ControlKind::Label, "x", 1, 2, 30, 20, Hidden}}};
    QWidget parent;
    QWidget *made = nullptr;
    BuildOptions options;
    options.createControl = [&](const ControlTemplate &control, QWidget *owner) -> QWidget * {
        if (control.id != 7)
            return nullptr;
        made = new QPushButton("custom", owner);
        return made;
    };
    const QSize base = buildDialog(form, &parent, options);
    EXPECT_EQ(controlById(&parent, 7), made);
    EXPECT_EQ(made->objectName(), "IDC_CUSTOM");
    EXPECT_EQ(made->geometry(), dialogUnitsToPixels(1, 2, 30, 20, base));
    EXPECT_TRUE(controlById(&parent, 8)->isHidden());
    EXPECT_FALSE(made->isHidden());
    EXPECT_EQ(parent.size(), dialogUnitsToPixels(0, 0, 100, 50, base).size());
    EXPECT_NE(parent.minimumSize(), parent.maximumSize()) << "a child form only gets resized";
}
