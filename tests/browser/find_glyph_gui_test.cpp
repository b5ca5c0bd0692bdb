// The Find dialog's checks and the Find command's selection and scrolling.

#include "find_glyph_dialog.h"
#include "find_glyph_template.h"
#include "font_view_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

TEST(FindGlyphDlg, StartsInHexadecimalAndChecksTheTextInTheBaseChosenWhenFindIsPressed) {
    // A new dialog for every Find: the text typed, a click on Decimal when
    // asked, then Find; "found <encoding>" when it closed, and its message boxes.
    const auto find = [](const QString &text, bool decimal) {
        ScriptedPrompts prompts;
        CFindGlyphDlg dialog;
        dialog.open();
        auto *range = res::controlById<QLabel>(&dialog, res::IDC_RANGE);
        QStringList seen{dialog.windowTitle() + " " + range->text()};
        res::controlById<QLineEdit>(&dialog, res::IDC_ENCODING)->setText(text);
        if (decimal)
            QTest::mouseClick(res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_DEC), Qt::LeftButton);
        seen << range->text() + (res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_HEX)->isChecked() ? " hex" : "");
        QTest::keyClick(res::controlById(&dialog, res::IDC_ENCODING), Qt::Key_Return);
        if (dialog.result() == QDialog::Accepted)
            seen << "found " + QString::number(dialog.GetEncoding());
        for (const auto &box : prompts.boxes)
            seen << QString::number(box.type) + ": " + box.text;
        return seen.join(" | ").toStdString();
    };
    EXPECT_EQ(find("0x41", false), "Find (0-FFFF) | (0-FFFF) hex | found 65");
    EXPECT_EQ(find("FFFF", false), "Find (0-FFFF) | (0-FFFF) hex | found 65535");
    EXPECT_EQ(find("10000", false), "Find (0-FFFF) | (0-FFFF) hex | 64: Parameter error!");
    EXPECT_EQ(find("41", true), "Find (0-FFFF) | (0-65535) | found 41") << "the text is not converted";
    EXPECT_EQ(find("65536", true), "Find (0-FFFF) | (0-65535) | 64: Parameter error!");
    EXPECT_EQ(find("-5", true), "Find (0-FFFF) | (0-65535) | 64: Parameter error!");
    EXPECT_EQ(find(" ", true), "Find (0-FFFF) | (0-65535) | found 0") << "blank is not empty";
    EXPECT_EQ(find("", false), "Find (0-FFFF) | (0-FFFF) hex | 64: Glyph encoding is NULL!");

    CFindGlyphDlg dialog;
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), res::controlById(&dialog, res::IDC_ENCODING));
    QTest::mouseClick(res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_DEC), Qt::LeftButton);
    QTest::mouseClick(res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_HEX), Qt::LeftButton);
    EXPECT_EQ(res::controlById<QLabel>(&dialog, res::IDC_RANGE)->text(), "(0-FFFF)");
}

TEST_F(FontView, FindScrollsToAGlyphOffThePageAndAMissGoesBackToTheFirstRow) {
    open();
    // Runs Find with `hex` typed in the dialog.
    const auto find = [&](const QString &hex) {
        QTimer::singleShot(0, [hex] {
            auto *dialog = qobject_cast<CFindGlyphDlg *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            res::controlById<QLineEdit>(dialog, res::IDC_ENCODING)->setText(hex);
            QTest::mouseClick(res::controlById<QPushButton>(dialog, res::IDOK), Qt::LeftButton);
        });
        view.OnEditFind();
        EXPECT_EQ(view.ScrollBar()->value(), view.GlyphTable().FirstRow());
        return std::pair(view.Selected(), view.GlyphTable().FirstRow());
    };
    const CGlyphTable &table = view.GlyphTable();
    EXPECT_EQ(find("13a"), std::pair(16, 0)) << "314 on the page";
    EXPECT_EQ(find("cb0"), std::pair(2950, 2950 / table.Columns())) << "3248 below it";
    EXPECT_TRUE(glyphPanel().contains("Encodeing: 3248 [0cb0]"));
    // A miss: no message, the panel cleared, the highlight kept.
    EXPECT_EQ(find("ffff"), std::pair(-1, 0));
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");
    EXPECT_EQ(table.Selected(), 2950);
    EXPECT_EQ(find("189b"), std::pair(6001, table.ScrollMaximum())) << "the last glyph: the last page";

    // Cancel changes nothing; without a font there is no dialog.
    QTimer::singleShot(0, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            QTest::keyClick(dialog, Qt::Key_Escape);
    });
    view.OnEditFind();
    EXPECT_EQ(std::pair(view.Selected(), table.Selected()), std::pair(6001, 6001));
    document.font = nullptr;
    view.OnEditFind(); // would block on a dialog if it opened one
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
