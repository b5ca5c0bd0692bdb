// Save, Save As and New in every document state, and saves that fail.

#include "app_fixture.h"
#include "bdf.h"

#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>

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

TEST_F(AppFixture, SaveWritesTheFileAndAFailedSaveSaysSoKeepsTheOldFileAndTheModifiedDocument) {
    ASSERT_TRUE(start({small}));
    editGlyph();
    write("small.bdf", "stale");
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font | commands on");
    EXPECT_EQ(glyphCountOf(small), 2);
    const QByteArray saved = read(small);
    EXPECT_TRUE(prompts.saveProposals.isEmpty() && prompts.boxes.empty()) << "no prompt for a writable file";

    editGlyph();
    {
        FileSizeLimit limit(64); // the font is longer: writing it fails
        trigger(res::ID_FILE_SAVE);
        prompts.saveChangesAnswers = {prompts::IDYES}; // and a Yes to Exit whose save fails keeps the program
        trigger(res::ID_APP_EXIT);
    }
    EXPECT_EQ(boxes(), cannotSave(small) + "\n" + cannotSave(small));
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font, modified | commands on");
    EXPECT_EQ(read(small), saved);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << "no temporary file left behind";
}

TEST_F(AppFixture, SaveOfAGoneOrUntitledFileAsksForANameAndTakesItWhileSaveAsWritesACopyByTheBdfRule) {
    const QString gone = write("gone.bdf", kSmallFont);
    ASSERT_TRUE(start({gone}));
    QFile::remove(gone);
    editGlyph();
    // A name in a folder that does not exist: the save fails and nothing changes.
    prompts.saveAnswers = {dir.filePath("nowhere/x.bdf"), dir.filePath("renamed")};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(boxes(), cannotSave(dir.filePath("nowhere/x.bdf")));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | gone.bdf: gone.bdf | font, modified | commands on");
    // Save As: ".bdf" is added unless the name holds it; the document stays as it was.
    const std::pair<const char *, const char *> copies[] = {{"a.BDF", "a.BDF.bdf"}, {"x.bdf.txt", "x.bdf.txt"}, {"plain", "plain.bdf"}};
    for (const auto &[chosen, written] : copies) {
        prompts.saveAnswers.push_front(dir.filePath(chosen));
        trigger(res::ID_FILE_SAVE_AS);
        EXPECT_EQ(glyphCountOf(dir.filePath(written)), 2) << written;
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.BDF")));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | gone.bdf: gone.bdf | font, modified | commands on");
    EXPECT_EQ(app->RecentFiles().Paths(), QStringList{gone});
    // Save: a good name without extension gets ".bdf", and the document takes the name.
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(state(), "renamed.bdf - Glyphwerk | renamed.bdf: renamed.bdf | font | commands on");
    EXPECT_EQ(app->RecentFiles().Paths().first(), dir.filePath("renamed.bdf"));
    EXPECT_EQ(glyphCountOf(dir.filePath("renamed.bdf")), 2);

    // New detaches the font, which the table still shows; Save then proposes the title.
    trigger(res::ID_FILE_NEW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
    view()->repaint();
    EXPECT_TRUE(view()->GlyphTable().HasPage());
    prompts.saveAnswers = {dir.filePath("copy.bdf")};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(prompts.saveProposals, (QStringList{gone, "", "", "", gone, "Untitled.bdf"})) << "Save As proposes none";
    EXPECT_EQ(state(), "copy.bdf - Glyphwerk | copy.bdf: copy.bdf | font | commands on");
    EXPECT_EQ(boxes(), cannotSave(dir.filePath("nowhere/x.bdf"))) << "no other box";
}
