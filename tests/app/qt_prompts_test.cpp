// The program's message boxes: icon and buttons by type, the "Glyphwerk"
// caption, and the answers of the save-changes question.

#include "qt_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Seen {
    QString caption, text, informative;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Answers the next message box with `answer`, recording what it showed.
void answerNextBox(QMessageBox::StandardButton answer, Seen *seen) {
    QTimer::singleShot(0, [answer, seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *seen = {box->windowTitle(), box->text(), box->informativeText(), box->icon(), box->standardButtons()};
        box->button(answer)->click();
    });
}

} // namespace

TEST(QtPrompts, MessageBoxTypesMapToIconsAndButtons) {
    QtPrompts prompts;
    const struct {
        unsigned type;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    } cases[] = {
        {0, QMessageBox::NoIcon, QMessageBox::Ok},
        {16, QMessageBox::Critical, QMessageBox::Ok},
        {48, QMessageBox::Warning, QMessageBox::Ok},
        {49, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel},
        {64, QMessageBox::Information, QMessageBox::Ok},
    };
    for (const auto &c : cases) {
        Seen seen;
        answerNextBox(QMessageBox::Ok, &seen);
        EXPECT_EQ(prompts.messageBox(nullptr, "Line one\r\nline two", c.type), prompts::IDOK);
        EXPECT_EQ(seen.caption, "Glyphwerk");
        EXPECT_EQ(seen.text, "Line one\nline two");
        EXPECT_EQ(seen.icon, c.icon) << c.type;
        EXPECT_EQ(seen.buttons, c.buttons) << c.type;
    }
    Seen seen;
    answerNextBox(QMessageBox::Cancel, &seen);
    EXPECT_EQ(prompts.messageBox(nullptr, "Go on?", 49), prompts::IDCANCEL);

    const std::pair<QMessageBox::StandardButton, int> answers[] = {
        {QMessageBox::Yes, prompts::IDYES}, {QMessageBox::No, prompts::IDNO}, {QMessageBox::Cancel, prompts::IDCANCEL}};
    for (auto [button, answer] : answers) {
        answerNextBox(button, &seen);
        EXPECT_EQ(prompts.messageBox(nullptr, "Apply?", 35), answer);
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
}

TEST(QtPrompts, SaveChangesAnswersYesNoOrCancel) {
    QtPrompts prompts;
    const std::pair<QMessageBox::StandardButton, int> answers[] = {
        {QMessageBox::Save, prompts::IDYES}, {QMessageBox::Discard, prompts::IDNO}, {QMessageBox::Cancel, prompts::IDCANCEL}};
    for (auto [button, answer] : answers) {
        Seen seen;
        answerNextBox(button, &seen);
        EXPECT_EQ(prompts.askSaveChanges(nullptr, "/fonts/a.bdf"), answer);
        EXPECT_EQ(seen.caption, "Glyphwerk");
        EXPECT_EQ(seen.text, "The document \"/fonts/a.bdf\" has been modified.");
        EXPECT_EQ(seen.informative, "Do you want to save your changes?");
    }
}
