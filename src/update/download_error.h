#ifndef GLYPHWERK_UPDATE_DOWNLOAD_ERROR_H
#define GLYPHWERK_UPDATE_DOWNLOAD_ERROR_H

// Result codes of a failed download, in the classic 32-bit form the
// download-failed message prints. Each kind of failure has one stable code:
//
//   0x80004004  aborted: the user cancelled, or the 30-minute deadline passed
//   0x800C0002  the URL is not valid
//   0x800C0004  cannot connect (connection refused, no network, proxy unreachable)
//   0x800C0005  host name not found
//   0x800C0006  the server has no such file (HTTP 404, 410)
//   0x800C0009  authentication required (server or proxy)
//   0x800C000B  the connection timed out, no data arrived for the stall time, or
//               the transfer's deadline passed
//   0x800C000D  unknown protocol (the URL's scheme is not http or https)
//   0x800C000E  TLS handshake or certificate failure
//   0x800C0014  redirect failed (too many, or from https to http)
//   0x800C0008  any other network or server failure (HTTP 403, 5xx, connection closed, ...)
//   0x8000000B  the file is larger than its bound (a description or release notes)
//   0x8003001D  the downloaded data cannot be written to its file
//   0x80091007  the installer does not match the description's SHA-256 checksum
//   0x80096010  the installer lacks a valid signature by the program's update key
//
// The message's text is the network layer's (or the file's) own description.

#include <QNetworkReply>
#include <QString>
#include <cstdint>

namespace update {

inline constexpr std::uint32_t kErrorAborted = 0x80004004;
inline constexpr std::uint32_t kErrorInvalidUrl = 0x800C0002;
inline constexpr std::uint32_t kErrorCannotConnect = 0x800C0004;
inline constexpr std::uint32_t kErrorHostNotFound = 0x800C0005;
inline constexpr std::uint32_t kErrorNotFound = 0x800C0006;
inline constexpr std::uint32_t kErrorDownloadFailure = 0x800C0008;
inline constexpr std::uint32_t kErrorAuthentication = 0x800C0009;
inline constexpr std::uint32_t kErrorTimeout = 0x800C000B;
inline constexpr std::uint32_t kErrorUnknownProtocol = 0x800C000D;
inline constexpr std::uint32_t kErrorSecurity = 0x800C000E;
inline constexpr std::uint32_t kErrorRedirect = 0x800C0014;
inline constexpr std::uint32_t kErrorTooLarge = 0x8000000B;
inline constexpr std::uint32_t kErrorWriteFault = 0x8003001D;
inline constexpr std::uint32_t kErrorChecksum = 0x80091007;
inline constexpr std::uint32_t kErrorSignature = 0x80096010;

std::uint32_t errorCodeFor(QNetworkReply::NetworkError error);

// "Download failed.  Error = 0x%08lX\n\n%s", or "... No message available."
// when there is no text.
QString downloadFailedMessage(std::uint32_t code, const QString &text);

} // namespace update

#endif
