// The Find dialog's checks and the Find command's selection and scrolling.

#include "find_glyph_dialog.h"
#include "find_glyph_template.h"
#include "font_view_fixture.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

TEST(FindGlyphDlg, StartsInHexadecimalAndChecksTheTextInTheBaseChosenWhenFindIsPressed) {
    // A new dialog: its title and range label, the text typed, a click on
    // Decimal when asked, Enter; then what it found and its message boxes.
    const auto find = [](const QString &text, bool decimal) {
        ScriptedPrompts prompts;
        CFindGlyphDlg dialog;
        dialog.open();
        QStringList seen{dialog.windowTitle(), res::controlById<QLabel>(&dialog, res::IDC_RANGE)->text()};
        res::controlById<QLineEdit>(&dialog, res::IDC_ENCODING)->setText(text);
        if (decimal)
            QTest::mouseClick(res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_DEC), Qt::LeftButton);
        seen << res::controlById<QLabel>(&dialog, res::IDC_RANGE)->text();
        QTest::keyClick(res::controlById(&dialog, res::IDC_ENCODING), Qt::Key_Return);
        if (dialog.result() == QDialog::Accepted)
            seen << "found " + QString::number(dialog.GetEncoding());
        for (const auto &box : prompts.boxes)
            seen << QString::number(box.type) + ": " + box.text;
        return seen.join(" | ").toStdString();
    };
    EXPECT_EQ(find("FFFF", false), "Find | (0-FFFF) | (0-FFFF) | found 65535");
    EXPECT_EQ(find("10000", false), "Find | (0-FFFF) | (0-FFFF) | 64: Parameter error!");
    EXPECT_EQ(find("41", true), "Find | (0-FFFF) | (0-65535) | found 41") << "the text is not converted";
    EXPECT_EQ(find("-5", true), "Find | (0-FFFF) | (0-65535) | 64: Parameter error!");
    EXPECT_EQ(find("", false), "Find | (0-FFFF) | (0-FFFF) | 64: Glyph encoding is NULL!");
}

TEST_F(FontView, FindScrollsToTheGlyphUpToTheLastPageAndAMissGoesBackToTheFirstRow) {
    open();
    // Runs Find with `hex` typed, or cancelled when empty; the selection and the first row after.
    const auto find = [&](const QString &hex) {
        QTimer::singleShot(0, [hex] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                res::controlById<QLineEdit>(dialog, res::IDC_ENCODING)->setText(hex);
                QTest::keyClick(dialog, hex.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            }
        });
        view.OnEditFind();
        EXPECT_EQ(view.ScrollBar()->value(), view.GlyphTable().FirstRow());
        return std::pair(view.Selected(), view.GlyphTable().FirstRow());
    };
    const CGlyphTable &table = view.GlyphTable();
    EXPECT_EQ(find("189b"), std::pair(6001, table.ScrollMaximum())) << "6299, the last glyph";
    EXPECT_TRUE(glyphPanel().contains("Encodeing: 6299 [189b]"));
    EXPECT_EQ(find(""), std::pair(6001, table.ScrollMaximum())) << "cancelled";
    // A miss: no message, the panel cleared, the highlight kept.
    EXPECT_EQ(find("ffff"), std::pair(-1, 0));
    EXPECT_EQ(std::pair(glyphPanel(), table.Selected()), std::pair(QString("No glyph is selected."), 6001));
    EXPECT_TRUE(prompts.boxes.empty());
    document.font = nullptr;
    view.OnEditFind(); // would block on a dialog if it opened one
}
