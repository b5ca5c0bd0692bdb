#ifndef GLYPHWERK_APP_QT_PROMPTS_H
#define GLYPHWERK_APP_QT_PROMPTS_H

// The program's prompts: Qt message boxes and file dialogs.

#include "prompts.h"

class QtPrompts : public prompts::Prompts {
public:
    int messageBox(QWidget *parent, const QString &text, unsigned type) override;
    QString openFileName(QWidget *parent, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &proposedPath, const QString &filter) override;
    int askSaveChanges(QWidget *parent, const QString &documentName) override;

private:
    QString m_strLastDirectory;
};

#endif
