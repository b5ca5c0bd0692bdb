// The glyph editor as the application wires it.

#include "app_fixture.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "glyph_table_area.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <functional>

TEST_F(AppFixture, EveryRouteThatWouldDropUnappliedEditorPixelsAsksFirstAndFollowsTheAnswer) {
    const QString copy = dir.filePath("copy.bdf");
    // What a route did, as a word or two.
    const auto title = [&] { return doc()->GetTitle().toStdString(); };
    const auto saved = [&](const QString &path) -> std::string {
        const QByteArray bytes = read(path);
        return bytes.contains("F8\n04\nENDCHAR") ? "saved with the stroke"
                                                 : bytes.contains("F8\n00\nENDCHAR") ? "saved without it" : "not saved";
    };
    const auto editor = [&] { return qobject_cast<CGlyphEditDlg *>(view()->EditDialog()); };
    const auto editorOn = [&] { return std::string(editor()->isVisible() ? "editor open" : "editor hidden"); };
    const auto editing = [&] { return "editing " + std::string(editor()->Canvas().Glyph()->name); };
    const auto cellOf = [&](int index) {
        return view()->TableArea()->geometry().topLeft() + view()->TableArea()->contentsRect().topLeft() +
               QPoint(3 + 7 * index, 4);
    };
    const struct Route {
        const char *name;
        std::function<void()> run;
        std::function<std::string()> outcome;
        std::string yes, no, cancel; // the outcome after each answer
        bool yesModifies = false;    // and asks to save the changes before going on
    } routes[] = {
        {"Escape", [&] { QTest::keyClick(editor(), Qt::Key_Escape); }, editorOn, "editor hidden", "editor hidden",
         "editor open"},
        {"close box", [&] { editor()->close(); }, editorOn, "editor hidden", "editor hidden", "editor open"},
        {"double-click", [&] { QTest::mouseDClick(view(), Qt::LeftButton, {}, cellOf(0)); }, editing, "editing A",
         "editing A", "editing B"},
        {"Save", [&] { trigger(res::ID_FILE_SAVE); }, [&] { return saved(small); }, "saved with the stroke",
         "saved without it", "not saved"},
        {"Save As", [&] { trigger(res::ID_FILE_SAVE_AS); }, [&] { return saved(copy); }, "saved with the stroke",
         "saved without it", "not saved"},
        {"Open", [&] { trigger(res::ID_FILE_OPEN); }, title, "other.bdf", "other.bdf", "small.bdf", true},
        {"recent file", [&] { trigger(res::ID_FILE_MRU_FILE1 + 1); }, title, "other.bdf", "other.bdf", "small.bdf", true},
        {"drop", [&] { drop(QUrl::fromLocalFile(other)); }, title, "other.bdf", "other.bdf", "small.bdf", true},
        {"second instance",
         [&] {
             ASSERT_TRUE(CGlyphwerkApp::ForwardToRunningInstance({"glyphwerk", other}));
             EXPECT_TRUE(QTest::qWaitFor([&] { return !prompts.boxes.empty(); }, 5000));
         },
         title, "other.bdf", "other.bdf", "small.bdf", true},
        {"New", [&] { trigger(res::ID_FILE_NEW); }, title, "Untitled", "Untitled", "small.bdf", true},
        {"Exit", [&] { trigger(res::ID_APP_EXIT); }, [&] { return std::string(frame()->isVisible() ? "running" : "ended"); },
         "ended", "ended", "running", true},
    };
    for (const Route &route : routes) {
        for (const int answer : {prompts::IDYES, prompts::IDNO, prompts::IDCANCEL}) {
            SCOPED_TRACE(std::string(route.name) + ", answer " + std::to_string(answer));
            QFile::remove(copy);
            write("small.bdf", kSmallFont);
            // B open in the editor, one pixel drawn at its bottom right, not applied.
            ASSERT_TRUE(start({other}));
            ASSERT_EQ(app->OpenDocumentFile(small), CGlyphwerkApp::OpenResult::Opened);
            write("small.bdf", "not yet saved\n");
            ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
            QTest::mouseDClick(view(), Qt::LeftButton, {}, cellOf(1));
            ASSERT_NE(editor(), nullptr);
            QTest::mouseClick(res::controlById<QAbstractButton>(editor(), res::IDC_PENCIL), Qt::LeftButton);
            const Cell corner{5, 7};
            editor()->Canvas().OnCanvasMouse(MOUSE_LEFT_DOWN, &corner);
            editor()->Canvas().OnCanvasMouse(MOUSE_LEFT_UP, &corner);
            const bdf_glyph &b = doc()->Font()->glyphs[1];
            const QByteArray storedB(reinterpret_cast<const char *>(b.bitmap), b.bytes);
            QSignalSpy applied(editor(), &CGlyphEditDlg::glyphChanged);
            prompts.boxes.clear();
            prompts.saveChangesAsked.clear();
            prompts.boxAnswers = {answer};
            prompts.saveChangesAnswers = {prompts::IDNO};
            prompts.openAnswers = {other};
            prompts.saveAnswers = {copy};

            route.run();
            EXPECT_EQ(boxes(), "35: Apply the changes to the glyph \"B\"?");
            EXPECT_EQ(route.outcome(), answer == prompts::IDYES  ? route.yes
                                       : answer == prompts::IDNO ? route.no
                                                                 : route.cancel);
            EXPECT_EQ(applied.count(), answer == prompts::IDYES ? 1 : 0);
            EXPECT_EQ(prompts.saveChangesAsked.size(), answer == prompts::IDYES && route.yesModifies ? 1 : 0);
            if (answer == prompts::IDCANCEL) {
                EXPECT_TRUE(editor()->isVisible() && editor()->Canvas().HasUnappliedChanges());
                EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(b.bitmap), b.bytes), storedB);
            }
            app.reset();
        }
    }
}
