#include "download.h"

#include "download_error.h"
#include "update_protocol.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace update {

namespace {

constexpr int kAbortPollMs = 50;

} // namespace

DownloadResult DownloadUrlToFile(std::string_view url, const QString &destination, CDownloadProgress *observer,
                                 const DownloadLimits &limits) {
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
    if (limits.stallTimeoutMs > 0)
        get.setTransferTimeout(limits.stallTimeoutMs);
    QNetworkReply *reply = manager.get(get);

    QEventLoop loop;
    std::optional<DownloadResult> failure; // the first reason this side ended the transfer
    bool aborting = false;
    bool sizeUnknown = false;
    const auto stop = [&](std::optional<DownloadResult> reason = {}) {
        if (aborting)
            return;
        aborting = true;
        failure = std::move(reason);
        reply->abort();
    };
    const auto tooLarge = [&] {
        stop(DownloadResult{false, kErrorTooLarge, QStringLiteral("The file is larger than %1 bytes.").arg(limits.maxBytes)});
    };
    const auto store = [&](const QByteArray &chunk) {
        if (aborting)
            return;
        if (limits.maxBytes > 0 && file.pos() + chunk.size() > limits.maxBytes)
            tooLarge();
        else if (file.write(chunk) != chunk.size())
            stop(DownloadResult{false, kErrorWriteFault, file.errorString()});
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
        if (limits.maxBytes > 0 && announced.isValid() && announced.toLongLong() > limits.maxBytes)
            tooLarge(); // no need to receive what will be refused
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] { store(reply->readAll()); });
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
    }
    QTimer poll;
    if (observer || limits.cancel) {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if ((observer && observer->mustStop()) || (limits.cancel && limits.cancel->load()))
                stop();
        });
        poll.start(kAbortPollMs);
    }
    QTimer deadline;
    if (!limits.deadline.isForever()) {
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
            stop(DownloadResult{false, kErrorTimeout, QStringLiteral("The transfer passed its deadline.")});
        });
        deadline.start(std::chrono::milliseconds(std::max<qint64>(0, limits.deadline.remainingTime())));
    }
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    poll.stop();
    deadline.stop();
    if (!reply->isFinished()) // the program is quitting and ended every event loop
        stop();

    if (!aborting && reply->error() == QNetworkReply::NoError) {
        store(reply->readAll());
        if (!aborting && !file.flush())
            failure = DownloadResult{false, kErrorWriteFault, file.errorString()};
    }
    file.close();

    DownloadResult result;
    if (failure)
        result = *failure;
    else if (reply->error() == QNetworkReply::OperationCanceledError && !aborting) // Qt's stall time-out
        result = {false, kErrorTimeout,
                  QStringLiteral("No data arrived for %1 seconds.").arg(limits.stallTimeoutMs / 1000.0)};
    else if (reply->error() != QNetworkReply::NoError)
        result = {false, errorCodeFor(reply->error()), reply->errorString()};
    else
        result = {true, 0, {}};
    delete reply;
    return result;
}

} // namespace update
