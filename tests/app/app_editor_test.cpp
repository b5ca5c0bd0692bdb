// The glyph editor as the application wires it.

#include "app_fixture.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "glyph_table_area.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <functional>

TEST_F(AppFixture, DoubleClickEditsTheGlyphAndAnOpenDetachesTheEditor) {
    ASSERT_TRUE(start({small}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
    const QPoint cell = view()->TableArea()->geometry().topLeft() + view()->TableArea()->contentsRect().topLeft() +
                        QPoint(7 + 3, 4);
    QTest::mouseDClick(view(), Qt::LeftButton, {}, cell);
    auto *editor = qobject_cast<CGlyphEditDlg *>(view()->EditDialog());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->parentWidget(), view());
    EXPECT_TRUE(res::controlById<QLabel>(view(), res::IDC_GLYPH_INFO)->text().startsWith("Glyph Name: B\r\n"));
    // A character-cell font: every glyph is saved with its common width.
    auto *width = res::controlById<QLineEdit>(editor, res::IDC_DWIDTH);
    EXPECT_EQ(width->text(), "6");
    EXPECT_TRUE(width->isReadOnly());

    // The editor's change notice (WM_GLYPH_CHANGED) marks the document modified.
    EXPECT_FALSE(doc()->IsModified());
    emit editor->glyphChanged();
    EXPECT_TRUE(doc()->IsModified());

    doc()->SetModifiedFlag(false);
    ASSERT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_FALSE(editor->isVisible()) << "detached from the released font";
    EXPECT_EQ(view()->EditDialog(), editor) << "the one editor window stays";
}

TEST_F(AppFixture, EveryRouteThatWouldDropUnappliedEditorPixelsAsksFirstAndFollowsTheAnswer) {
    const QString copy = dir.filePath("copy.bdf");
    // What a route did, as a word or two.
    const auto title = [&] { return doc()->GetTitle().toStdString(); };
    const auto saved = [&](const QString &path) -> std::string {
        const QByteArray bytes = read(path);
        if (bytes.contains("F8\n04\nENDCHAR"))
            return "saved with the stroke";
        return bytes.contains("F8\n00\nENDCHAR") ? "saved without it" : "not saved";
    };
    const auto editorOn = [&] {
        return std::string(view()->EditDialog()->isVisible() ? "editor open" : "editor hidden");
    };
    const auto editing = [&] {
        return "editing " + std::string(qobject_cast<CGlyphEditDlg *>(view()->EditDialog())->Canvas().Glyph()->name);
    };
    const auto drop = [&] {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(other)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &enter);
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &drop);
    };
    const auto cellOf = [&](int index) {
        return view()->TableArea()->geometry().topLeft() + view()->TableArea()->contentsRect().topLeft() +
               QPoint(3 + 7 * index, 4);
    };
    const struct Route {
        const char *name;
        std::function<void()> run;
        std::function<std::string()> outcome;
        bool asksToSaveAfterYes; // Yes modifies the document
        std::string yes, no, cancel;
    } routes[] = {
        {"Escape", [&] { QTest::keyClick(view()->EditDialog(), Qt::Key_Escape); }, editorOn, false, "editor hidden",
         "editor hidden", "editor open"},
        {"close box", [&] { view()->EditDialog()->close(); }, editorOn, false, "editor hidden", "editor hidden",
         "editor open"},
        {"double-click", [&] { QTest::mouseDClick(view(), Qt::LeftButton, {}, cellOf(0)); }, editing, false,
         "editing A", "editing A", "editing B"},
        {"Save",
         [&] {
             write("small.bdf", "not yet saved\n");
             trigger(res::ID_FILE_SAVE);
         },
         [&] { return saved(small); }, false, "saved with the stroke", "saved without it", "not saved"},
        {"Save As",
         [&] {
             prompts.saveAnswers = {copy};
             trigger(res::ID_FILE_SAVE_AS);
         },
         [&] { return saved(copy); }, false, "saved with the stroke", "saved without it", "not saved"},
        {"Open",
         [&] {
             prompts.openAnswers = {other};
             trigger(res::ID_FILE_OPEN);
         },
         title, true, "other.bdf", "other.bdf", "small.bdf"},
        {"recent file", [&] { trigger(res::ID_FILE_MRU_FILE1 + 1); }, title, true, "other.bdf", "other.bdf",
         "small.bdf"},
        {"drop", drop, title, true, "other.bdf", "other.bdf", "small.bdf"},
        {"second instance",
         [&] {
             ASSERT_TRUE(CGlyphwerkApp::ForwardToRunningInstance({"glyphwerk", other}));
             EXPECT_TRUE(QTest::qWaitFor([&] { return !prompts.boxes.empty(); }, 5000));
         },
         title, true, "other.bdf", "other.bdf", "small.bdf"},
        {"New", [&] { trigger(res::ID_FILE_NEW); }, title, true, "Untitled", "Untitled", "small.bdf"},
        {"Exit", [&] { trigger(res::ID_APP_EXIT); },
         [&] { return std::string(frame()->isVisible() ? "running" : "ended"); }, true, "ended", "ended", "running"},
    };
    for (const Route &route : routes) {
        for (const int answer : {prompts::IDYES, prompts::IDNO, prompts::IDCANCEL}) {
            SCOPED_TRACE(std::string(route.name) + ", answer " + std::to_string(answer));
            QFile::remove(copy);
            write("small.bdf", kSmallFont); // as an earlier Save left it
            // B open in the editor, one pixel drawn at its bottom right, not applied.
            ASSERT_TRUE(start({other}));
            ASSERT_EQ(app->OpenDocumentFile(small), CGlyphwerkApp::OpenResult::Opened);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
            QTest::mouseDClick(view(), Qt::LeftButton, {}, cellOf(1));
            auto *editor = qobject_cast<CGlyphEditDlg *>(view()->EditDialog());
            ASSERT_NE(editor, nullptr);
            QTest::mouseClick(res::controlById<QAbstractButton>(editor, res::IDC_PENCIL), Qt::LeftButton);
            const Cell corner{5, 7};
            editor->Canvas().OnCanvasMouse(MOUSE_LEFT_DOWN, &corner);
            editor->Canvas().OnCanvasMouse(MOUSE_LEFT_UP, &corner);
            const bdf_glyph &b = doc()->Font()->glyphs[1];
            const QByteArray storedB(reinterpret_cast<const char *>(b.bitmap), b.bytes);
            QSignalSpy applied(editor, &CGlyphEditDlg::glyphChanged);
            prompts.boxes.clear();
            prompts.saveChangesAsked.clear();
            prompts.boxAnswers = {answer};
            prompts.saveChangesAnswers = {prompts::IDNO};
            prompts.openAnswers.clear();
            prompts.saveAnswers.clear();

            route.run();
            EXPECT_EQ(boxes(), "35: Apply the changes to the glyph \"B\"?");
            EXPECT_EQ(route.outcome(), answer == prompts::IDYES ? route.yes
                                       : answer == prompts::IDNO ? route.no
                                                                 : route.cancel);
            EXPECT_EQ(applied.count(), answer == prompts::IDYES ? 1 : 0);
            EXPECT_EQ(prompts.saveChangesAsked.size(), answer == prompts::IDYES && route.asksToSaveAfterYes ? 1 : 0);
            if (answer == prompts::IDCANCEL) {
                EXPECT_TRUE(editor->isVisible());
                EXPECT_TRUE(editor->Canvas().HasUnappliedChanges());
                EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(b.bitmap), b.bytes), storedB);
            }
            app.reset();
        }
    }
}
