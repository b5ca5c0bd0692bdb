#ifndef GLYPHWERK_APP_LOAD_REPORT_H
#define GLYPHWERK_APP_LOAD_REPORT_H

// What the reader did while opening a font: the messages it recorded and,
// when it stopped before the end of the file, where. The document keeps the
// report of its last open; the load report window shows it, and Save asks
// before it replaces a file that was read only in part.

#include "bdf.h"

#include <QString>
#include <QStringList>

struct LoadReport {
    QString path;         // the file that was read
    QStringList messages; // one per correction or error, in the reader's order
    uint32_t stopLine = 0; // reading stopped before this line; 0 when it read the whole file

    // The report of loading `path` into `font`; empty for a null font.
    static LoadReport of(const QString &path, const bdf_font *font);

    bool isEmpty() const { return messages.isEmpty() && stopLine == 0; }
    // The window title: the file's name and the number of messages.
    QString title() const;
    // The line above the messages: the file's full path, and where reading stopped.
    QString heading() const;
    // The messages, one a line.
    QString text() const;
    // Said before a font read only in part is shown.
    QString stopWarning() const;
    // Asked before Save writes over the file that was read only in part.
    QString saveOverQuestion() const;
};

#endif
