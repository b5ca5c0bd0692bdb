// Real X11 fonts from the corpus through the whole program: open, find,
// select, edit, save a copy, and independent programs reading the copy.

#include "app_fixture.h"
#include "find_glyph_template.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"

#include <QAbstractButton>

#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

namespace {

// Answers the next Edit > Find with `hex` typed as the encoding.
void findGlyph(const QString &hex) {
    QTimer::singleShot(0, [hex] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        res::controlById<QLineEdit>(dialog, res::IDC_ENCODING)->setText(hex);
        res::controlById<QPushButton>(dialog, res::IDOK)->click();
    });
}

// "exit status | standard output | standard error" of a program run on a file.
std::string runOn(const QString &program, QStringList arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return "did not finish";
    return (QString::number(process.exitCode()) + " | " + process.readAllStandardOutput() + " | " +
            process.readAllStandardError())
        .toStdString();
}

} // namespace

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
    findGlyph("41");
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

// A proportional font where one glyph (U+1EF5) alone reaches 5 pixels below
// the baseline: its ink moved up shrinks the font box, moved back grows it,
// and a new device width takes its scalable width along. Every copy saved on
// the way reads back clean.
TEST_F(AppFixture, EditedGlyphsSaveFilesThatCheckAndBdftopcfReadWithoutAWord) {
    const QString font = QStringLiteral(GLYPHWERK_CORPUS_DIR "/75dpi-helvR12.bdf");
    if (!QFileInfo::exists(font))
        GTEST_SKIP() << "the corpus has no 75dpi-helvR12.bdf (scripts/corpus makes it)";
    ASSERT_TRUE(start({font}));
    const bdf_bbx &box = doc()->Font()->bbx;
    auto fontBox = [&] {
        return QString::asprintf("%d %d %d %d", box.width, box.height, box.x_offset, box.y_offset).toStdString();
    };
    ASSERT_EQ(fontBox(), "14 20 -1 -5");

    findGlyph("1EF5");
    trigger(res::ID_EDIT_FIND);
    view()->SelectGlyph(view()->Selected(), true); // what a double-click on it does
    auto *editor = qobject_cast<CGlyphEditDlg *>(view()->EditDialog());
    ASSERT_NE(editor, nullptr);
    const bdf_glyph &glyph = doc()->Font()->glyphs[view()->Selected()];
    auto click = [&](int id) { QTest::mouseClick(res::controlById<QAbstractButton>(editor, id), Qt::LeftButton); };
    auto metrics = [&] { return res::controlById<QLabel>(editor, res::IDC_METRICS)->text().toStdString(); };
    auto saved = [&](const QString &name) {
        const QString copy = dir.filePath(name);
        prompts.saveAnswers = {copy};
        trigger(res::ID_FILE_SAVE_AS);
        EXPECT_EQ(runOn(GLYPHWERK_BDF_CLI, {"check", copy}), "0 |  | ") << name.toStdString();
        EXPECT_EQ(runOn("bdftopcf", {"-o", dir.filePath(name + ".pcf"), copy}), "0 |  | ") << name.toStdString();
        return QString::fromLatin1(read(copy));
    };

    click(res::IDC_UP);
    click(1); // OK
    EXPECT_EQ(metrics(), "width 5 height 12 x_offset 1 y_offset -4\r\nascent 8 descent 4");
    EXPECT_EQ(fontBox(), "14 19 -1 -4");
    EXPECT_TRUE(fontPanel().contains("Max Width:\t14\r\nMax Height:\t19\r\n")) << fontPanel().toStdString();
    EXPECT_TRUE(saved("shrunk.bdf").contains("FONTBOUNDINGBOX 14 19 -1 -4\n"));

    // The editor's grid is still the box it opened with, so the ink can go back.
    click(res::IDC_DOWN);
    click(1);
    EXPECT_EQ(fontBox(), "14 20 -1 -5");
    EXPECT_TRUE(fontPanel().contains("Max Width:\t14\r\nMax Height:\t20\r\n"));
    EXPECT_TRUE(saved("grown.bdf").contains("FONTBOUNDINGBOX 14 20 -1 -5\n"));

    // A width typed, then a shift, then OK: the width is kept and applied.
    auto *width = res::controlById<QLineEdit>(editor, res::IDC_DWIDTH);
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, "20");
    click(res::IDC_LEFT);
    EXPECT_EQ(width->text(), "20");
    click(1);
    EXPECT_EQ(std::tie(glyph.dwidth, glyph.swidth), std::make_tuple(uint16_t(20), uint16_t(1600)));
    EXPECT_TRUE(res::controlById<QLabel>(view(), res::IDC_GLYPH_INFO)->text().contains("DWidth:\t20\r\n"));
    EXPECT_TRUE(saved("wider.bdf").contains("STARTCHAR uni1EF5\nENCODING 7925\nSWIDTH 1600 0\nDWIDTH 20 0\n"
                                            "BBX 5 12 0 -5\n"));
}
