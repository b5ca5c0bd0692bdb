// Save and Save As, and saves that fail.

#include "app_fixture.h"

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

TEST_F(AppFixture, AFailedSaveKeepsFileAndChangesSaveAsWritesACopyByTheBdfRuleAndAGoneFileIsSavedUnderANameAsked) {
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

    // Save As: ".bdf" is added unless the name holds it; the document stays as it was.
    const std::pair<const char *, const char *> copies[] = {{"a.BDF", "a.BDF.bdf"}, {"x.bdf.txt", "x.bdf.txt"}};
    for (const auto &[chosen, written] : copies) {
        prompts.saveAnswers = {dir.filePath(chosen)};
        trigger(res::ID_FILE_SAVE_AS);
        EXPECT_TRUE(read(dir.filePath(written)).contains("CHARS 2\n")) << written;
    }
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font, modified | commands on");
    // A file that is gone: Save asks for a name, adds ".bdf" when it has no extension, and takes it.
    QFile::remove(small);
    prompts.saveAnswers = {dir.filePath("renamed")};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(state(), "renamed.bdf - Glyphwerk | renamed.bdf: renamed.bdf | font | commands on");
    EXPECT_EQ(app->RecentFiles().Paths(), (QStringList{dir.filePath("renamed.bdf"), small}));
    EXPECT_EQ(prompts.saveProposals, (QStringList{"", "", small})) << "Save As proposes no name";
}
