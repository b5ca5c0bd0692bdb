#include "dialog_builder.h"
#include "find_glyph_template.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace res;

TEST(DialogBuilder, BuildsAFixedDialogInPixelsRoundedLikeMulDivWhoseControlsAreFoundByIdAndKindAndTabInOrder) {
    const struct { QRect units; QSize base; QRect pixels; } cases[] = {
        {{7, 12, 52, 8}, {6, 12}, {11, 18, 78, 12}}, // 10.5 rounds up
        {{-3, -5, 1, 1}, {8, 16}, {-6, -10, 2, 2}},
        {{1, 1, 1, 1}, {5, 13}, {1, 2, 1, 2}}, // 1.25 -> 1, 1.625 -> 2
    };
    for (const auto &c : cases)
        EXPECT_EQ(dialogUnitsToPixels(c.units.x(), c.units.y(), c.units.width(), c.units.height(), c.base), c.pixels);
    const QFont font = templateFont({1, "IDD_X", "X", 10, 10, "NoSuchFace Glyphwerk", 9, {}});
    EXPECT_EQ(font.pixelSize(), 12); // 9 points at 96 dpi
    EXPECT_EQ(font.family(), QApplication::font().family());

    QDialog dialog;
    const QSize base = buildDialog(findGlyphTemplate(), &dialog);
    EXPECT_EQ(dialog.size(), dialogUnitsToPixels(0, 0, 218, 71, base).size());
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a dialog window is not resizable";
    auto *edit = controlById<QLineEdit>(&dialog, IDC_ENCODING);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), dialogUnitsToPixels(60, 11, 36, 12, base));
    EXPECT_EQ(controlById<QLineEdit>(&dialog, IDC_RANGE), nullptr) << "wrong kind gives null";
    EXPECT_TRUE(controlById<QPushButton>(&dialog, IDOK)->isDefault());
    EXPECT_EQ(edit->nextInFocusChain(), controlById(&dialog, IDOK)) << "tab stops in template order";
}
