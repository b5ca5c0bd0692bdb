// Save, Save As and New in every document state, and saves that fail.

#include "app_fixture.h"
#include "bdf.h"

#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Loads `path` with the library and returns its glyph count, or -1.
int glyphCountOf(const QString &path) {
    bdf_font *font = bdf_load_font_path(QFile::encodeName(path).constData());
    const int count = font ? int(font->glyphs_used) : -1;
    bdf_free_font(font);
    return count;
}

// Files written while this lives fail beyond `bytes` (also for root).
struct FileSizeLimit {
    rlimit saved{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

} // namespace

TEST_F(AppFixture, SaveWritesTheFontToItsFileAndClearsTheModifiedFlag) {
    ASSERT_TRUE(start({small}));
    editGlyph();
    trigger(res::ID_FILE_SAVE);
    EXPECT_FALSE(doc()->IsModified());
    EXPECT_TRUE(prompts.saveProposals.isEmpty()) << "no prompt for a writable file";
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(glyphCountOf(small), 2);
    EXPECT_TRUE(read(small).contains("FONT -Test-Small-Medium-R-Normal--8-80-75-75-C-60-ISO10646-1\n"));
}

TEST_F(AppFixture, AFailedSaveSaysSoKeepsTheDocumentModifiedAndTheOldFile) {
    ASSERT_TRUE(start({small}));
    editGlyph();
    const QByteArray before = read(small);
    {
        FileSizeLimit limit(64); // the font is longer: writing it fails
        trigger(res::ID_FILE_SAVE);
    }
    EXPECT_EQ(boxes(), cannotSave(small));
    EXPECT_TRUE(doc()->IsModified());
    EXPECT_EQ(read(small), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << "no temporary file left behind";

    // Exit then still asks, and a Yes whose save fails keeps the program running.
    prompts.saveChangesAnswers = {prompts::IDYES};
    {
        FileSizeLimit limit(64);
        trigger(res::ID_APP_EXIT);
    }
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(read(small), before);
}

TEST_F(AppFixture, SaveIntoAReadOnlyFolderFailsWithItsMessage) {
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind root; the size-limit test covers failed writes";
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/font.bdf";
    QFile::copy(small, path);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(start({path}));
    editGlyph();
    trigger(res::ID_FILE_SAVE);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(boxes(), cannotSave(path));
    EXPECT_TRUE(doc()->IsModified());
    EXPECT_EQ(read(path), kSmallFont);
}

TEST_F(AppFixture, SaveOfAFileThatIsGoneAsksForANameAndTakesIt) {
    const QString gone = write("gone.bdf", kSmallFont);
    ASSERT_TRUE(start({gone}));
    QFile::remove(gone);
    editGlyph();

    // A name in a folder that does not exist: the save fails and nothing changes.
    prompts.saveAnswers = {dir.filePath("nowhere/x.bdf")};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(prompts.saveProposals, QStringList{gone});
    EXPECT_EQ(boxes(), cannotSave(dir.filePath("nowhere/x.bdf")));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | gone.bdf: gone.bdf | font, modified | commands on");

    // A good name without extension: ".bdf" is added, the document takes the name.
    prompts.saveAnswers = {dir.filePath("renamed")};
    trigger(res::ID_FILE_SAVE);
    const QString renamed = dir.filePath("renamed.bdf");
    EXPECT_EQ(state(), "renamed.bdf - Glyphwerk | renamed.bdf: renamed.bdf | font | commands on");
    EXPECT_EQ(app->RecentFiles().Paths().first(), renamed);
    EXPECT_EQ(glyphCountOf(renamed), 2);
}

TEST_F(AppFixture, SaveAsWritesACopyByTheBdfRuleAndChangesNothingElse) {
    ASSERT_TRUE(start({small}));
    ASSERT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    editGlyph();
    const std::string before = state();
    const QStringList recent = app->RecentFiles().Paths();

    const struct {
        QString chosen, written;
    } cases[] = {
        {dir.filePath("a.BDF"), dir.filePath("a.BDF.bdf")},
        {dir.filePath("x.bdf.txt"), dir.filePath("x.bdf.txt")},
        {dir.filePath("plain"), dir.filePath("plain.bdf")},
    };
    for (const auto &c : cases) {
        prompts.saveAnswers = {c.chosen};
        trigger(res::ID_FILE_SAVE_AS);
        EXPECT_EQ(glyphCountOf(c.written), 2) << c.written.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.BDF")));
    EXPECT_EQ(prompts.saveProposals, (QStringList{"", "", ""})) << "no initial file name";
    EXPECT_EQ(state(), before);
    EXPECT_EQ(before, "other.bdf - Glyphwerk | other.bdf: other.bdf | font, modified | commands on");
    EXPECT_EQ(app->RecentFiles().Paths(), recent);
    EXPECT_TRUE(prompts.boxes.empty());

    // A copy that cannot be written says so.
    prompts.saveAnswers = {dir.filePath("nowhere/copy.bdf")};
    trigger(res::ID_FILE_SAVE_AS);
    EXPECT_EQ(boxes(), cannotSave(dir.filePath("nowhere/copy.bdf")));

    prompts.saveChangesAnswers = {prompts::IDCANCEL};
    trigger(res::ID_APP_EXIT);
    EXPECT_EQ(prompts.saveChangesAsked.size(), 1) << "still modified after Save As";
}

TEST_F(AppFixture, NewDetachesTheFontWhichSaveThenWritesUnderANewName) {
    ASSERT_TRUE(start({small}));
    const bdf_font *font = doc()->Font();
    trigger(res::ID_FILE_NEW);
    EXPECT_EQ(state(), "Untitled - Glyphwerk | Untitled: no path | font | commands on");
    EXPECT_EQ(doc()->Font(), font);
    EXPECT_TRUE(fontPanel().contains(small)) << "the panel keeps the font's text";

    // The table still shows the font.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
    view()->repaint();
    EXPECT_TRUE(view()->GlyphTable().HasPage());

    prompts.saveAnswers = {dir.filePath("copy.bdf")};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(prompts.saveProposals, QStringList{"Untitled.bdf"});
    EXPECT_EQ(glyphCountOf(dir.filePath("copy.bdf")), 2);
    EXPECT_EQ(state(), "copy.bdf - Glyphwerk | copy.bdf: copy.bdf | font | commands on");
}

TEST_F(AppFixture, EveryCommandInTheEmptyAndFailedStatesLeavesNoFontToSave) {
    for (const QStringList &arguments : {QStringList{}, QStringList{text}}) {
        prompts.boxes.clear();
        prompts.saveProposals.clear();
        ASSERT_TRUE(start(arguments));
        EXPECT_FALSE(fontCommandsEnabled());
        // Disabled actions do nothing, whatever the keyboard says; Ctrl+C is no command at all.
        trigger(res::ID_FILE_SAVE);
        trigger(res::ID_FILE_SAVE_AS);
        trigger(res::ID_EDIT_FIND);
        frame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame()));
        QTest::keyClick(frame(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(frame(), Qt::Key_C, Qt::ControlModifier);
        EXPECT_TRUE(prompts.saveProposals.isEmpty());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(prompts.boxes.size(), arguments.size()) << "only the Invalid file! of the start-up";
        // New and Open (cancelled) work; New keeps the empty state.
        trigger(res::ID_FILE_NEW);
        EXPECT_EQ(state(), "Untitled - Glyphwerk | Untitled: no path | no font | commands off");
        trigger(res::ID_FILE_OPEN);
        EXPECT_EQ(doc()->Font(), nullptr);
        app.reset();
    }
}
