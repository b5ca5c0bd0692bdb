#include "single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

QLocalSocket *connectToRunning(QObject *parent, int timeoutMs) {
    auto *socket = new QLocalSocket(parent);
    socket->connectToServer(CSingleInstance::ServerName());
    if (socket->waitForConnected(timeoutMs))
        return socket;
    delete socket;
    return nullptr;
}

} // namespace

CSingleInstance::CSingleInstance(QObject *parent) : QObject(parent) {}

QString CSingleInstance::ServerName() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("glyphwerk-%1.socket").arg(qEnvironmentVariable("USER")));
}

bool CSingleInstance::ForwardToRunning(const QStringList &paths, int timeoutMs) {
    QObject owner;
    QLocalSocket *socket = connectToRunning(&owner, timeoutMs);
    if (!socket)
        return false;
    QByteArray message;
    for (const QString &path : paths)
        message += path.toUtf8() + '\n';
    socket->write(message);
    if (!socket->waitForBytesWritten(timeoutMs))
        return false;
    socket->disconnectFromServer(); // flushes what is left, then closes
    if (socket->state() != QLocalSocket::UnconnectedState)
        socket->waitForDisconnected(timeoutMs);
    return true;
}

bool CSingleInstance::Listen() {
    // Binding would replace the socket of a live instance, so ask first.
    QObject probe;
    if (connectToRunning(&probe, 500))
        return false;
    QLocalServer::removeServer(ServerName()); // left by an instance that died
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(ServerName()))
        return false;
    connect(m_pServer, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    return true;
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket *socket = m_pServer->nextPendingConnection()) {
        auto readLines = [this, socket] {
            while (socket->canReadLine()) {
                const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
                if (!path.isEmpty())
                    emit openRequested(path);
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readLines);
        connect(socket, &QLocalSocket::disconnected, this, [socket, readLines] {
            readLines();
            socket->deleteLater();
        });
    }
}
