#ifndef GLYPHWERK_UPDATE_INSTALLER_CHECK_H
#define GLYPHWERK_UPDATE_INSTALLER_CHECK_H

// Whether a downloaded installer may run: it must match the description's
// SHA-256 when one is given and, when this program was built with an update
// signing key, carry the description's Ed25519 signature by that key.

#include "download.h"
#include "update_info.h"

#include <QByteArray>
#include <QString>
#include <string_view>

namespace update {

enum class ChecksumCheck {
    Match,      // the file's SHA-256 equals the expected digest
    Mismatch,   // it does not, or the file cannot be read
    Malformed,  // the expected digest is not 64 hexadecimal digits
};

// Compares the SHA-256 of the file at `path` with `expectedHex` (either case).
ChecksumCheck checkSha256(const QString &path, std::string_view expectedHex);

// The Ed25519 public key (32 bytes) the build carries, or empty when it has none.
QByteArray builtInUpdateKey();

enum class SignatureCheck {
    Valid,     // a signature of the file's bytes by the key
    Invalid,   // not one, or the file cannot be read
    Missing,   // the description has no Signature
    Malformed, // the Signature is not 128 hexadecimal digits
};

// Checks `signatureHex` (either case) as the Ed25519 signature of the whole
// file at `path` by `publicKey` (32 bytes).
SignatureCheck checkSignature(const QString &path, std::string_view signatureHex, const QByteArray &publicKey);

// The installer at `path` against the description `info`: the checksum (when
// given), then the signature (when `publicKey` is not empty). A success, or
// the failure with its code and text for the download-failed message.
DownloadResult verifyInstaller(const QString &path, const UpdateInfo &info, const QByteArray &publicKey);

} // namespace update

#endif
