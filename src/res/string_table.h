#ifndef GLYPHWERK_RES_STRING_TABLE_H
#define GLYPHWERK_RES_STRING_TABLE_H

// The program's strings: the application name, the Save As filter, the
// document string of resource 128 and the start-up caption.

#include "glyphwerk_version.h"

#include <QString>

namespace res {

enum StringId : int {
    IDR_MAINFRAME = 128,     // the document string
    AFX_IDS_APP_TITLE = 57344,
    IDS_BDF_FILTER = 61204,
};

// The fields of the document string, in order.
enum DocStringField : int {
    windowTitle = 0,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName,
};

// The string `id`; empty for an unknown id.
QString loadString(int id);

// One field of the document string (seven fields separated by "\n").
QString docString(DocStringField field);

// A filter of the classic form "Name (*.x)|*.x|...||" as a Qt name filter list
// ("Name (*.x);;...").
QString qtFilter(const QString &classicFilter);

// The program's name with its version, as the About box shows it.
inline QString nameAndVersion() { return QStringLiteral("GlyphwerkV" GLYPHWERK_VERSION); }

// The main window's caption right after start-up.
inline QString startupCaption() { return nameAndVersion(); }

} // namespace res

#endif
