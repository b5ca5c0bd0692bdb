#include "download_error.h"

namespace update {

std::uint32_t errorCodeFor(QNetworkReply::NetworkError error) {
    using E = QNetworkReply::NetworkError;
    switch (error) {
    case E::OperationCanceledError:
        return kErrorAborted;
    case E::ConnectionRefusedError:
    case E::NetworkSessionFailedError:
    case E::TemporaryNetworkFailureError:
    case E::ProxyConnectionRefusedError:
    case E::ProxyNotFoundError:
        return kErrorCannotConnect;
    case E::HostNotFoundError:
        return kErrorHostNotFound;
    case E::ContentNotFoundError:
    case E::ContentGoneError:
        return kErrorNotFound;
    case E::AuthenticationRequiredError:
    case E::ProxyAuthenticationRequiredError:
        return kErrorAuthentication;
    case E::TimeoutError:
    case E::ProxyTimeoutError:
        return kErrorTimeout;
    case E::ProtocolUnknownError:
        return kErrorUnknownProtocol;
    case E::SslHandshakeFailedError:
        return kErrorSecurity;
    case E::TooManyRedirectsError:
    case E::InsecureRedirectError:
        return kErrorRedirect;
    default:
        return kErrorDownloadFailure;
    }
}

QString downloadFailedMessage(std::uint32_t code, const QString &text) {
    const QString hex = QString::number(code, 16).toUpper().rightJustified(8, QLatin1Char('0'));
    return QStringLiteral("Download failed.  Error = 0x") + hex + QStringLiteral("\n\n") +
           (text.isEmpty() ? QStringLiteral("No message available.") : text);
}

} // namespace update
