// A real X11 font from the corpus through the whole program: open, edit, save
// copies, and independent programs reading them.

#include "app_fixture.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QProcess>

namespace {

// "exit status | standard output | standard error" of a program run on a file.
std::string runOn(const QString &program, QStringList arguments) {
    QProcess process;
    process.start(program, arguments);
    const QString status = process.waitForFinished(60000) ? QString::number(process.exitCode()) : "did not finish";
    return (status + " | " + process.readAllStandardOutput() + " | " + process.readAllStandardError()).toStdString();
}

} // namespace

// One glyph (U+1EF5) alone reaches 5 pixels below the baseline: its ink moved up
// shrinks the font box, in a copy that reads back clean; moved back, the box grows.
TEST_F(AppFixture, EditedGlyphsSaveFilesThatCheckAndBdftopcfReadWithoutAWord) {
    const QString font = QStringLiteral(GLYPHWERK_CORPUS_DIR "/75dpi-helvR12.bdf");
    if (!QFileInfo::exists(font))
        GTEST_SKIP() << "the corpus has no 75dpi-helvR12.bdf (scripts/corpus makes it)";
    ASSERT_TRUE(start({font}));
    const bdf_font *loaded = doc()->Font();
    const auto found = std::find_if(loaded->glyphs, loaded->glyphs + loaded->glyphs_used,
                                    [](const bdf_glyph &glyph) { return glyph.encoding == 0x1EF5; });
    view()->SelectGlyph(int(found - loaded->glyphs), true); // what a double-click on it does
    auto *editor = qobject_cast<CGlyphEditDlg *>(view()->EditDialog());
    ASSERT_NE(editor, nullptr);
    auto click = [&](int id) { QTest::mouseClick(res::controlById<QAbstractButton>(editor, id), Qt::LeftButton); };
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
    EXPECT_TRUE(fontPanel().contains("Max Width:\t14\r\nMax Height:\t19\r\n")) << fontPanel().toStdString();
    EXPECT_TRUE(saved("shrunk.bdf").contains("FONTBOUNDINGBOX 14 19 -1 -4\n"));
    // The editor's grid is still the box it opened with, so the ink can go back.
    click(res::IDC_DOWN);
    click(1);
    EXPECT_TRUE(fontPanel().contains("Max Width:\t14\r\nMax Height:\t20\r\n"));
}
