#ifndef GLYPHWERK_RES_PROMPTS_H
#define GLYPHWERK_RES_PROMPTS_H

// Every message box, file prompt and save-changes question of the program goes
// through this one interface. The program installs the Qt dialogs (qt_prompts.h);
// tests install a scripted implementation that records texts and gives answers,
// so no test ever blocks on a modal window. Header-only and below the
// application, so that every layer can ask without seeing the application.

#include "dialog_template.h"

#include <QString>

class QWidget;

namespace prompts {

// Message box types: the buttons and icon of the classic message box.
enum Type : unsigned {
    MB_OK = 0,
    MB_ICONERROR_OK = 16,          // OK, error icon
    MB_ICONQUESTION_YESNOCANCEL = 35, // Yes, No and Cancel, question icon
    MB_ICONEXCLAMATION_OK = 48,    // OK, exclamation icon
    MB_ICONEXCLAMATION_OKCANCEL = 49,
};

// Answers: the id of the button the user pressed.
using res::IDOK;
using res::IDCANCEL;
using res::IDYES;
using res::IDNO;

inline const QString &caption() {
    static const QString text = QStringLiteral("Glyphwerk");
    return text;
}

class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal message box captioned "Glyphwerk"; returns the answer its
    // buttons allow: IDOK or IDCANCEL, or IDYES, IDNO or IDCANCEL.
    virtual int messageBox(QWidget *parent, const QString &text, unsigned type) = 0;

    // The open-file prompt; an empty string when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &filter) = 0;

    // The save-file prompt proposing `proposedPath`; asks before replacing a
    // file. An empty string when the user cancels.
    virtual QString saveFileName(QWidget *parent, const QString &proposedPath,
                                 const QString &filter) = 0;

    // "Save changes to <name>?" with Yes, No and Cancel; returns IDYES, IDNO or IDCANCEL.
    virtual int askSaveChanges(QWidget *parent, const QString &documentName) = 0;
};

// The installed implementation; null until the program or a test installs one.
inline Prompts *&currentSlot() {
    static Prompts *slot = nullptr;
    return slot;
}
inline Prompts &current() { return *currentSlot(); }
inline void install(Prompts *implementation) { currentSlot() = implementation; }

inline int messageBox(QWidget *parent, const QString &text, unsigned type = MB_OK) {
    return current().messageBox(parent, text, type);
}

} // namespace prompts

#endif
