#ifndef GLYPHWERK_TESTS_APP_APP_FIXTURE_H
#define GLYPHWERK_TESTS_APP_APP_FIXTURE_H

// A whole application in the test process, with scripted prompts and fonts in a temporary folder.

#include "dialog_builder.h"
#include "font_form_template.h"
#include "glyphwerk_app.h"
#include "glyphwerk_doc.h"
#include "glyphwerk_view.h"
#include "main_frame.h"
#include "main_menu.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// Two glyphs, A and B, in a 6 x 8 box.
inline const char *kSmallFont =
    "STARTFONT 2.1\nFONT -Test-Small-Medium-R-Normal--8-80-75-75-C-60-ISO10646-1\nSIZE 8 75 75\nFONTBOUNDINGBOX 6 8 0 -1\n"
    "STARTPROPERTIES 3\nSPACING \"C\"\nFONT_ASCENT 7\nFONT_DESCENT 1\nENDPROPERTIES\nCHARS 2\n"
    "STARTCHAR A\nENCODING 65\nSWIDTH 750 0\nDWIDTH 6 0\nBBX 6 8 0 -1\nBITMAP\n30\n48\n84\n84\nFC\n84\n84\n00\nENDCHAR\n"
    "STARTCHAR B\nENCODING 66\nSWIDTH 750 0\nDWIDTH 6 0\nBBX 6 8 0 -1\nBITMAP\nF8\n84\n84\nF8\n84\n84\nF8\n00\nENDCHAR\n"
    "ENDFONT\n";

struct AppFixture : ::testing::Test {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<CGlyphwerkApp> app;
    QString small, other, text, missing;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QSettings(CGlyphwerkApp::SettingsOrganization(), CGlyphwerkApp::SettingsApplication()).clear();
        small = write("small.bdf", kSmallFont);
        other = write("other.bdf", QByteArray(kSmallFont).replace("Small", "Other"));
        text = write("notes.txt", "just some text\n");
        missing = dir.filePath("missing.bdf");
    }

    QString write(const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static QByteArray read(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool start(const QStringList &arguments = {}) {
        app = std::make_unique<CGlyphwerkApp>();
        return app->InitInstance(QStringList{"glyphwerk"} + arguments);
    }
    CGlyphwerkDoc *doc() const { return app->Document(); }
    CMainFrame *frame() const { return app->MainFrame(); }
    CGlyphwerkView *view() const { return app->View(); }
    QAction *action(int id) const { return frame()->Action(id); }
    void trigger(int id) const { action(id)->trigger(); }
    QString fontPanel() const { return res::controlById<QLabel>(view(), res::IDC_FONT_INFO)->text(); }
    // An editor change to the selected glyph: the document becomes modified.
    void editGlyph() const { view()->OnGlyphChanged(); }

    // The message boxes shown so far, one a line: "<type>: <text>"; and two of the texts.
    std::string boxes() const {
        QStringList shown;
        for (const auto &box : prompts.boxes)
            shown << QString::number(box.type) + ": " + box.text;
        return shown.join('\n').toStdString();
    }
    static std::string cannotOpen(const QString &p) { return ("48: Cannot open file " + p + ":\nNo such file or directory.").toStdString(); }
    static std::string cannotSave(const QString &p) { return ("16: The file " + p + " could not be saved.").toStdString(); }
    // Drags `url` onto the frame and drops it there, as a file manager would.
    void drop(const QUrl &url) const {
        QMimeData data;
        data.setUrls({url});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &enter);
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &drop);
    }
    // Save, Save As and Find are enabled together, exactly while the document holds a font.
    bool fontCommandsEnabled() const {
        const bool save = action(res::ID_FILE_SAVE)->isEnabled();
        EXPECT_EQ(action(res::ID_FILE_SAVE_AS)->isEnabled(), save);
        EXPECT_EQ(action(res::ID_EDIT_FIND)->isEnabled(), save);
        EXPECT_EQ(doc()->FontLoaded(), save);
        return save;
    }
    // The program at a glance: "<caption> | <title>: <path in the test's folder> |
    // <font or no font>[, modified] | commands <on or off>".
    std::string state() const {
        const QString full = doc()->PathName();
        const QString path = full.isEmpty() ? "no path" : QDir(dir.path()).relativeFilePath(full);
        return QStringList{frame()->windowTitle(), doc()->GetTitle() + ": " + path,
                           QString(doc()->Font() ? "font" : "no font") + (doc()->IsModified() ? ", modified" : ""),
                           fontCommandsEnabled() ? "commands on" : "commands off"}
            .join(" | ")
            .toStdString();
    }
};

#endif
