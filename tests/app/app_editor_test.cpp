// The glyph editor as the application wires it.

#include "app_fixture.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "glyph_table_area.h"

#include <QLineEdit>

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
