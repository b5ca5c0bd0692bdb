// The Find dialog: its texts and the checks of the typed encoding.

#include "find_glyph_dialog.h"
#include "dialog_builder.h"
#include "find_glyph_template.h"
#include "scripted_prompts.h"

#include <QLineEdit>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

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
