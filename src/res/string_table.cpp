#include "string_table.h"

#include <QStringList>

namespace res {

QString loadString(int id) {
    switch (id) {
    case IDR_MAINFRAME:
        return QStringLiteral("Glyphwerk\n\nGlyphw\nGlyphw File (*.bdf)\n.bdf\nGlyphwerk.Document\nGlyphw Document");
    case AFX_IDS_APP_TITLE:
        return QStringLiteral("Glyphwerk");
    case IDS_BDF_FILTER:
        return QStringLiteral("BDF File (*.bdf)|*.bdf||");
    default:
        return {};
    }
}

QString docString(DocStringField field) {
    return loadString(IDR_MAINFRAME).split(QLatin1Char('\n')).value(field);
}

QString qtFilter(const QString &classicFilter) {
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString &name = parts[i];
        if (name.isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (name.contains(QLatin1Char('(')) ? name : name + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace res
