#include "download.h"

#include "download_error.h"
#include "request_url.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace update {

namespace {

constexpr int kAbortPollMs = 50;

} // namespace

DownloadResult DownloadUrlToFile(std::string_view url, const QString &destination, CDownloadProgress *observer,
                                 int stallTimeoutMs) {
    if (url.empty() || destination.isEmpty())
        return {false, kErrorInvalidUrl, QStringLiteral("No URL or no destination file.")};

    const std::string request = requestUrl(url, tickCount());
    const QUrl target = QUrl::fromEncoded(QByteArray(request.data(), qsizetype(request.size())), QUrl::TolerantMode);
    if (!target.isValid())
        return {false, kErrorInvalidUrl, target.errorString()};
    // Only the web: a description must not make the program fetch (and later
    // start) a local file or a resource through some other handler.
    const QString scheme = target.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {false, kErrorUnknownProtocol, QStringLiteral("Protocol \"%1\" is unknown").arg(target.scheme())};

    QFile file(destination);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {false, kErrorWriteFault, file.errorString()};

    QNetworkAccessManager manager;
    QNetworkRequest get(target);
    if (stallTimeoutMs > 0)
        get.setTransferTimeout(stallTimeoutMs);
    QNetworkReply *reply = manager.get(get);

    QEventLoop loop;
    QString writeError;
    bool aborting = false;
    bool sizeUnknown = false;
    const auto stop = [&] {
        if (!aborting) {
            aborting = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        const QByteArray chunk = reply->readAll();
        if (!aborting && file.write(chunk) != chunk.size()) {
            writeError = file.errorString();
            stop();
        }
    });
    QTimer poll;
    if (observer) {
        // Qt may deliver one more progress signal after abort(); it is ignored. A
        // transfer without a known size stays "unknown" even when Qt's last
        // report gives the size it finally saw.
        QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
            sizeUnknown = sizeUnknown || total <= 0;
            const quint64 progressMax = sizeUnknown ? 0 : quint64(total);
            if (!aborting && observer->OnProgress(quint64(received), progressMax, 0, {}) != S_OK_)
                stop();
        });
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (observer->mustStop())
                stop();
        });
        poll.start(kAbortPollMs);
    }
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    poll.stop();
    if (!reply->isFinished()) // the program is quitting and ended every event loop
        stop();

    if (!aborting && reply->error() == QNetworkReply::NoError) {
        const QByteArray rest = reply->readAll();
        if (file.write(rest) != rest.size() || !file.flush())
            writeError = file.errorString();
    }
    file.close();

    DownloadResult result;
    if (!writeError.isEmpty())
        result = {false, kErrorWriteFault, writeError};
    else if (reply->error() == QNetworkReply::OperationCanceledError && !aborting) // Qt's stall time-out
        result = {false, kErrorTimeout, QStringLiteral("No data arrived for %1 seconds.").arg(stallTimeoutMs / 1000.0)};
    else if (reply->error() != QNetworkReply::NoError)
        result = {false, errorCodeFor(reply->error()), reply->errorString()};
    else
        result = {true, 0, {}};
    delete reply;
    return result;
}

} // namespace update
