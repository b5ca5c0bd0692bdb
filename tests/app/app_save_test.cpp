// Save, Save As and New, and saves that fail.

#include "app_fixture.h"

#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>

namespace {

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

TEST_F(AppFixture, AFailedSaveKeepsFileAndChangesAndAFileThatIsGoneOrUntitledIsSavedUnderANameAsked) {
    ASSERT_TRUE(start({small}));
    editGlyph();
    {
        FileSizeLimit limit(64); // the font is longer: writing it fails
        trigger(res::ID_FILE_SAVE);
        prompts.saveChangesAnswers = {prompts::IDYES};
        trigger(res::ID_APP_EXIT);
    }
    EXPECT_EQ(boxes(), cannotSave(small) + "\n" + cannotSave(small));
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font, modified | commands on");
    EXPECT_EQ(read(small), kSmallFont);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << "no temporary file left behind";

    // Gone: a name is asked; in a folder that does not exist the save fails and nothing changes.
    QFile::remove(small);
    prompts.boxes.clear();
    prompts.saveAnswers = {dir.filePath("nowhere/x.bdf"), dir.filePath("renamed")};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(boxes(), cannotSave(dir.filePath("nowhere/x.bdf")));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font, modified | commands on");
    // Save As: ".bdf" is added unless the name holds it; the document stays as it was.
    const std::pair<const char *, const char *> copies[] = {
        {"a.BDF", "a.BDF.bdf"}, {"x.bdf.txt", "x.bdf.txt"}, {"plain", "plain.bdf"}};
    for (const auto &[chosen, written] : copies) {
        prompts.saveAnswers.push_front(dir.filePath(chosen));
        trigger(res::ID_FILE_SAVE_AS);
        EXPECT_TRUE(read(dir.filePath(written)).contains("CHARS 2\n")) << written;
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.BDF")));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font, modified | commands on");
    // Save: a name without extension gets ".bdf", and the document and the recent files take it.
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(state(), "renamed.bdf - Glyphwerk | renamed.bdf: renamed.bdf | font | commands on");
    EXPECT_EQ(app->RecentFiles().Paths(), (QStringList{dir.filePath("renamed.bdf"), small}));
    EXPECT_TRUE(read(dir.filePath("renamed.bdf")).contains("CHARS 2\n"));
    // New detaches the font; Save then proposes the title.
    trigger(res::ID_FILE_NEW);
    prompts.saveAnswers = {dir.filePath("copy.bdf")};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(prompts.saveProposals, (QStringList{small, "", "", "", small, "Untitled.bdf"})) << "Save As proposes none";
    EXPECT_EQ(state(), "copy.bdf - Glyphwerk | copy.bdf: copy.bdf | font | commands on");
    EXPECT_EQ(boxes(), cannotSave(dir.filePath("nowhere/x.bdf"))) << "no other box";
}
