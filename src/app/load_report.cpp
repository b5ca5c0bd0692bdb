#include "load_report.h"

#include "font_bytes.h"

#include <QDir>
#include <QFileInfo>

LoadReport LoadReport::of(const QString &path, const bdf_font *font) {
    LoadReport report;
    report.path = path;
    if (!font)
        return report;
    if (font->messages_len != 0)
        report.messages = fromFontBytes({font->messages, font->messages_len - 1}).split(QLatin1Char('\n'));
    report.stopLine = font->stop_line;
    return report;
}

QString LoadReport::title() const {
    const QString count = messages.size() == 1 ? QStringLiteral("1 message")
                                               : QStringLiteral("%1 messages").arg(messages.size());
    return QStringLiteral("Load Report: %1 (%2)").arg(QFileInfo(path).fileName(), count);
}

QString LoadReport::heading() const {
    QString text = QStringLiteral("Messages recorded while reading %1:").arg(QDir::toNativeSeparators(path));
    if (stopLine != 0)
        text = QStringLiteral("Reading stopped before line %1: the font holds only the part of the file before it.\n")
                   .arg(stopLine) +
               text;
    return text;
}

QString LoadReport::text() const { return messages.join(QLatin1Char('\n')); }

QString LoadReport::stopWarning() const {
    return QStringLiteral("%1 could not be read to its end: reading stopped before line %2.\n"
                          "Only the part before that line is loaded; saving it over this file would lose the rest.")
        .arg(QDir::toNativeSeparators(path))
        .arg(stopLine);
}

QString LoadReport::saveOverQuestion() const {
    return QStringLiteral("Only the part of %1 before line %2 was read.\n"
                          "Saving over it replaces the whole file with that part. Save anyway?")
        .arg(QDir::toNativeSeparators(path))
        .arg(stopLine);
}
