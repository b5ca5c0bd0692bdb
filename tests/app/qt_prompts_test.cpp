// The program's message boxes: icon and buttons by type, the "Glyphwerk"
// caption, and the answers.

#include "qt_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(QtPrompts, BoxTypesMapToIconsAndButtonsAndTheClickedButtonToTheAnswer) {
    using Box = QMessageBox;
    QtPrompts prompts;
    const struct {
        unsigned type; // 0: the save-changes question
        Box::Icon icon;
        Box::StandardButtons buttons;
        Box::StandardButton click;
        int answer;
    } cases[] = {
        {16, Box::Critical, Box::Ok, Box::Ok, prompts::IDOK},
        {49, Box::Warning, Box::Ok | Box::Cancel, Box::Cancel, prompts::IDCANCEL},
        {35, Box::Question, Box::Yes | Box::No | Box::Cancel, Box::No, prompts::IDNO},
        {35, Box::Question, Box::Yes | Box::No | Box::Cancel, Box::Yes, prompts::IDYES},
        {0, Box::Warning, Box::Save | Box::Discard | Box::Cancel, Box::Save, prompts::IDYES},
        {0, Box::Warning, Box::Save | Box::Discard | Box::Cancel, Box::Discard, prompts::IDNO},
    };
    for (const auto &c : cases) {
        QString text;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<Box *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->windowTitle() + " | " + box->text() + " | " + box->informativeText();
            EXPECT_EQ(box->icon(), c.icon) << c.type;
            EXPECT_EQ(box->standardButtons(), c.buttons) << c.type;
            box->button(c.click)->click();
        });
        const int answer = c.type ? prompts.messageBox(nullptr, "Line one\r\nline two", c.type)
                                  : prompts.askSaveChanges(nullptr, "/fonts/a.bdf");
        EXPECT_EQ(answer, c.answer) << c.type;
        EXPECT_EQ(text, c.type ? "Glyphwerk | Line one\nline two | "
                               : "Glyphwerk | The document \"/fonts/a.bdf\" has been modified. | "
                                 "Do you want to save your changes?");
    }
}
