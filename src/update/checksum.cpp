#include "checksum.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>

namespace update {

ChecksumCheck checkSha256(const QString &path, std::string_view expectedHex) {
    const bool wellFormed = expectedHex.size() == 64 && std::ranges::all_of(expectedHex, [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
    if (!wellFormed)
        return ChecksumCheck::Malformed;
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return ChecksumCheck::Mismatch;
    const QByteArray expected = QByteArray(expectedHex.data(), qsizetype(expectedHex.size())).toLower();
    return hash.result().toHex() == expected ? ChecksumCheck::Match : ChecksumCheck::Mismatch;
}

QString checksumFailureText(ChecksumCheck result) {
    if (result == ChecksumCheck::Malformed)
        return QStringLiteral("The update description's SHA-256 checksum is not 64 hexadecimal digits.");
    return QStringLiteral("The downloaded installer does not match the SHA-256 checksum of the update description.");
}

} // namespace update
