#ifndef GLYPHWERK_UPDATE_CHECKSUM_H
#define GLYPHWERK_UPDATE_CHECKSUM_H

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

// The text of the download-failed message for a check that did not match.
QString checksumFailureText(ChecksumCheck result);

} // namespace update

#endif
