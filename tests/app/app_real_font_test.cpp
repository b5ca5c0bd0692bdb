// A real X11 font (9x15 from the corpus) through the whole program: open,
// find, select, save a copy, and bdftopcf reading the copy.

#include "app_fixture.h"
#include "find_glyph_template.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

TEST_F(AppFixture, ARealFontOpensFindsAndSavesACopyThatBdftopcfReads) {
    const QString font = QStringLiteral(GLYPHWERK_CORPUS_DIR "/misc-9x15.bdf");
    if (!QFileInfo::exists(font))
        GTEST_SKIP() << "the corpus has no misc-9x15.bdf (scripts/corpus makes it)";
    ASSERT_TRUE(start({font}));
    ASSERT_TRUE(doc()->FontLoaded());
    const bdf_font *loaded = doc()->Font();
    EXPECT_EQ(fontPanel(), QString("File: %1\r\nFont: %2\r\nSize: \t\t%3\r\nMax Width:\t%4\r\nMax Height:\t%5\r\n"
                                   "Glyphs Num: \t%6\r\n")
                               .arg(font, QString::fromLatin1(loaded->name))
                               .arg(loaded->point_size)
                               .arg(loaded->bbx.width)
                               .arg(loaded->bbx.height)
                               .arg(loaded->glyphs_used));

    // Edit > Find with "41" in hexadecimal selects A.
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        res::controlById<QLineEdit>(dialog, res::IDC_ENCODING)->setText("41");
        res::controlById<QPushButton>(dialog, res::IDOK)->click();
    });
    trigger(res::ID_EDIT_FIND);
    ASSERT_GE(view()->Selected(), 0);
    EXPECT_EQ(loaded->glyphs[view()->Selected()].encoding, 65);
    EXPECT_TRUE(res::controlById<QLabel>(view(), res::IDC_GLYPH_INFO)->text().contains("Encodeing: 65 [0041]\r\n"));

    const QString copy = dir.filePath("copy.bdf");
    prompts.saveAnswers = {copy};
    trigger(res::ID_FILE_SAVE_AS);
    ASSERT_TRUE(QFileInfo::exists(copy));
    QProcess bdftopcf;
    bdftopcf.start("bdftopcf", {"-o", dir.filePath("copy.pcf"), copy});
    ASSERT_TRUE(bdftopcf.waitForFinished(60000));
    EXPECT_EQ(bdftopcf.exitCode(), 0);
    EXPECT_EQ(bdftopcf.readAllStandardError(), "");
}
