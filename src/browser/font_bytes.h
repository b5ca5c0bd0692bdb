#ifndef GLYPHWERK_BROWSER_FONT_BYTES_H
#define GLYPHWERK_BROWSER_FONT_BYTES_H

// Texts taken from a font file (names, and messages that quote them) are bytes
// as the file had them: UTF-8 when they are valid UTF-8, else Latin-1.

#include <QString>
#include <QStringDecoder>
#include <string_view>

inline QString fromFontBytes(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), qsizetype(bytes.size())) : text;
}

#endif
