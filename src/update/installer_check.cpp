#include "installer_check.h"

#include "download_error.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>
#include <sodium.h>

namespace update {

namespace {

bool isHex(std::string_view text) {
    return std::ranges::all_of(text, [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

QString checksumFailureText(ChecksumCheck result) {
    if (result == ChecksumCheck::Malformed)
        return QStringLiteral("The update description's SHA-256 checksum is not 64 hexadecimal digits.");
    return QStringLiteral("The downloaded installer does not match the SHA-256 checksum of the update description.");
}

QString signatureFailureText(SignatureCheck result) {
    switch (result) {
    case SignatureCheck::Missing:
        return QStringLiteral("The update description has no Signature of the installer.");
    case SignatureCheck::Malformed:
        return QStringLiteral("The update description's Signature is not 128 hexadecimal digits.");
    default:
        return QStringLiteral("The downloaded installer is not signed with this program's update key.");
    }
}

} // namespace

ChecksumCheck checkSha256(const QString &path, std::string_view expectedHex) {
    if (expectedHex.size() != 64 || !isHex(expectedHex))
        return ChecksumCheck::Malformed;
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return ChecksumCheck::Mismatch;
    const QByteArray expected = QByteArray(expectedHex.data(), qsizetype(expectedHex.size())).toLower();
    return hash.result().toHex() == expected ? ChecksumCheck::Match : ChecksumCheck::Mismatch;
}

QByteArray builtInUpdateKey() {
#ifdef GLYPHWERK_UPDATE_PUBLIC_KEY
    return QByteArray::fromHex(GLYPHWERK_UPDATE_PUBLIC_KEY); // checked to be 64 digits when configured
#else
    return {};
#endif
}

SignatureCheck checkSignature(const QString &path, std::string_view signatureHex, const QByteArray &publicKey) {
    if (signatureHex.empty())
        return SignatureCheck::Missing;
    if (signatureHex.size() != 2 * crypto_sign_BYTES || !isHex(signatureHex))
        return SignatureCheck::Malformed;
    if (publicKey.size() != crypto_sign_PUBLICKEYBYTES || sodium_init() < 0)
        return SignatureCheck::Invalid;
    const QByteArray signature = QByteArray::fromHex(QByteArray(signatureHex.data(), qsizetype(signatureHex.size())));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SignatureCheck::Invalid;
    // Mapped rather than read: an installer can be large.
    const qint64 size = file.size();
    const uchar *bytes = size > 0 ? file.map(0, size) : nullptr;
    if (size > 0 && !bytes)
        return SignatureCheck::Invalid;
    const int verified = crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.constData()),
                                                     bytes, static_cast<unsigned long long>(size),
                                                     reinterpret_cast<const unsigned char *>(publicKey.constData()));
    return verified == 0 ? SignatureCheck::Valid : SignatureCheck::Invalid;
}

DownloadResult verifyInstaller(const QString &path, const UpdateInfo &info, const QByteArray &publicKey) {
    if (!info.sha256.empty()) {
        const ChecksumCheck check = checkSha256(path, info.sha256);
        if (check != ChecksumCheck::Match)
            return {false, kErrorChecksum, checksumFailureText(check)};
    }
    if (!publicKey.isEmpty()) {
        const SignatureCheck check = checkSignature(path, info.signature, publicKey);
        if (check != SignatureCheck::Valid)
            return {false, kErrorSignature, signatureFailureText(check)};
    }
    return {true, 0, {}};
}

} // namespace update
