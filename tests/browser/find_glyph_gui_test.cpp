// The Find dialog's checks and the Find command's selection and scrolling.

#include "find_glyph_dialog.h"
#include "find_glyph_template.h"
#include "font_view_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// Types `text` into a new Find dialog, in decimal when asked, and presses Find:
// "found <encoding>" when it closed with one, and the message boxes it showed.
std::string typeAndFind(const QString &text, bool decimal = false) {
    ScriptedPrompts prompts;
    CFindGlyphDlg dialog;
    dialog.open();
    if (decimal)
        QTest::mouseClick(res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_DEC), Qt::LeftButton);
    res::controlById<QLineEdit>(&dialog, res::IDC_ENCODING)->setText(text);
    QTest::mouseClick(res::controlById<QPushButton>(&dialog, res::IDOK), Qt::LeftButton);
    QStringList seen;
    if (dialog.result() == QDialog::Accepted)
        seen << "found " + QString::number(dialog.GetEncoding());
    for (const auto &box : prompts.boxes)
        seen << QString::number(box.type) + ": " + box.text;
    return seen.join(" | ").toStdString();
}

} // namespace

TEST(FindGlyphDlg, OpensEmptyWithHexadecimalAndTheBaseSwitchesTheRangeLabelNotTheText) {
    CFindGlyphDlg dialog;
    dialog.open();
    auto *range = res::controlById<QLabel>(&dialog, res::IDC_RANGE);
    auto *dec = res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_DEC);
    auto *hex = res::controlById<QRadioButton>(&dialog, res::IDC_RADIO_HEX);
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_TRUE(hex->isChecked());
    EXPECT_FALSE(dec->isChecked());
    EXPECT_EQ(range->text(), "(0-FFFF)");
    EXPECT_EQ(res::controlById<QLineEdit>(&dialog, res::IDC_ENCODING)->text(), "");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), res::controlById(&dialog, res::IDC_ENCODING));

    res::controlById<QLineEdit>(&dialog, res::IDC_ENCODING)->setText("41");
    QTest::mouseClick(dec, Qt::LeftButton);
    EXPECT_EQ(range->text(), "(0-65535)");
    EXPECT_EQ(dialog.Format(), 0);
    EXPECT_EQ(res::controlById<QLineEdit>(&dialog, res::IDC_ENCODING)->text(), "41") << "text not converted";
    QTest::mouseClick(hex, Qt::LeftButton);
    EXPECT_EQ(range->text(), "(0-FFFF)");

    // Typed in hexadecimal, searched in decimal: the base when Find is pressed counts.
    QTest::mouseClick(dec, Qt::LeftButton);
    QTest::keyClick(res::controlById(&dialog, res::IDC_ENCODING), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetEncoding(), 41);
}

TEST(FindGlyphDlg, AcceptsZeroToFFFFAndRejectsTheRestWithItsMessages) {
    // Type 64: OK button and the information icon.
    EXPECT_EQ(typeAndFind("41"), "found 65");
    EXPECT_EQ(typeAndFind("0x41"), "found 65");
    EXPECT_EQ(typeAndFind("FFFF"), "found 65535");
    EXPECT_EQ(typeAndFind("10000"), "64: Parameter error!");
    EXPECT_EQ(typeAndFind("65535", true), "found 65535");
    EXPECT_EQ(typeAndFind("65536", true), "64: Parameter error!");
    EXPECT_EQ(typeAndFind("12abc", true), "found 12");
    EXPECT_EQ(typeAndFind("abc", true), "found 0");
    EXPECT_EQ(typeAndFind(" ", true), "found 0");
    EXPECT_EQ(typeAndFind("-5", true), "64: Parameter error!");
    EXPECT_EQ(typeAndFind("-0", true), "found 0");
    EXPECT_EQ(typeAndFind("4294967296", true), "64: Parameter error!");
    EXPECT_EQ(typeAndFind(""), "64: Glyph encoding is NULL!");
}

namespace {

// The Find command on the font view, its dialog answered with `hex` typed in hexadecimal.
struct FindCommand : FontView {
    void SetUp() override {
        FontView::SetUp();
        open();
    }
    void find(const QString &hex) {
        QTimer::singleShot(0, [hex] {
            auto *dialog = qobject_cast<CFindGlyphDlg *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            res::controlById<QLineEdit>(dialog, res::IDC_ENCODING)->setText(hex);
            QTest::mouseClick(res::controlById<QPushButton>(dialog, res::IDOK), Qt::LeftButton);
        });
        view.OnEditFind();
    }
};

} // namespace

TEST_F(FindCommand, SelectsOnThePageWithoutScrollingAndScrollsToOthers) {
    const CGlyphTable &table = view.GlyphTable();
    find("13a"); // 314, index 16
    EXPECT_EQ(view.Selected(), 16);
    EXPECT_EQ(table.FirstRow(), 0);
    EXPECT_TRUE(glyphPanel().contains("Encodeing: 314 [013a]"));

    find("cb0"); // 3248, index 2950
    EXPECT_EQ(view.Selected(), 2950);
    EXPECT_EQ(table.FirstRow(), 2950 / table.Columns());
    EXPECT_EQ(view.ScrollBar()->value(), table.FirstRow());

    // A miss: no message, the panel is cleared, the highlight stays, the table goes back to row 0.
    find("ffff");
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(view.Selected(), -1);
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");
    EXPECT_EQ(table.Selected(), 2950);
    EXPECT_EQ(table.FirstRow(), 0);

    // The last glyph: its row lies past the last scroll position, so the last page shows.
    find("189b"); // 6299, index 6001
    EXPECT_EQ(view.Selected(), 6001);
    EXPECT_EQ(table.FirstRow(), table.ScrollMaximum());
    EXPECT_EQ(view.ScrollBar()->value(), table.ScrollMaximum());
}

TEST_F(FindCommand, CancelChangesNothingAndNoFontMeansNoDialog) {
    QTimer::singleShot(0, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            QTest::keyClick(dialog, Qt::Key_Escape);
    });
    view.OnEditFind();
    EXPECT_EQ(view.Selected(), -1);
    EXPECT_EQ(view.GlyphTable().Selected(), 0);

    document.font = nullptr;
    EXPECT_FALSE(view.IsFontCommandEnabled());
    view.OnEditFind(); // would block on a dialog if it opened one
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
