#include "test_http_server.h"

#include <QAbstractEventDispatcher>
#include <QMutexLocker>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>

class TestHttpServerCore : public QObject {
public:
    explicit TestHttpServerCore(TestHttpServer &owner) : m_owner(owner) {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                accept(socket);
        });
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    void accept(QTcpSocket *socket) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            *buffer += socket->readAll();
            if (buffer->startsWith('\x16')) { // a TLS handshake: answer in plain text, as a plain server would
                socket->write("HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
                return;
            }
            if (!buffer->contains("\r\n\r\n") || socket->property("answered").toBool())
                return;
            socket->setProperty("answered", true);
            const QList<QByteArray> requestLine = buffer->left(buffer->indexOf("\r\n")).split(' ');
            const QString target = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
            answer(socket, target);
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    void answer(QTcpSocket *socket, const QString &target) {
        QMutexLocker lock(&m_owner.m_mutex);
        m_owner.m_requests << target;
        const TestHttpServer::Response response = m_owner.m_routes.value(
            target.section(QLatin1Char('?'), 0, 0), TestHttpServer::Response{404, QByteArray("not here\n")});
        lock.unlock();
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) +
                          (response.status == 200 ? " OK" : response.status == 404 ? " Not Found" : " Error") +
                          "\r\nConnection: close\r\nContent-Type: application/octet-stream\r\n";
        if (response.announceLength)
            head += "Content-Length: " + QByteArray::number(response.body.size() * response.repeat) + "\r\n";
        socket->write(head + "\r\n");
        sendSlowly(socket, response, 0);
    }

    // Sends the body (`repeat` times over) from offset `sent`, one chunk (a
    // whole body when no chunk size is set) per pause, holding back while the
    // socket still has much to write.
    void sendSlowly(QTcpSocket *socket, const TestHttpServer::Response &response, qint64 sent) {
        QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(response.pauseMs, this, [this, guard, response, sent] {
            if (!guard || guard->state() != QAbstractSocket::ConnectedState) {
                QMutexLocker lock(&m_owner.m_mutex);
                ++m_owner.m_cutShort;
                return;
            }
            if (guard->bytesToWrite() > 1024 * 1024) {
                sendSlowly(guard, response, sent);
                return;
            }
            const qint64 total = response.body.size() * response.repeat;
            const qint64 size = std::min<qint64>(response.chunkSize > 0 ? response.chunkSize : response.body.size(),
                                                 total - sent);
            QByteArray chunk;
            while (chunk.size() < size) {
                const qint64 at = (sent + chunk.size()) % response.body.size();
                chunk += response.body.mid(at, size - chunk.size());
            }
            guard->write(chunk);
            if (sent + size >= total)
                guard->disconnectFromHost();
            else
                sendSlowly(guard, response, sent + size);
        });
    }

    TestHttpServer &m_owner;
    QTcpServer m_server;
};

// The core is made and deleted on the server's thread, through the thread's
// event dispatcher (an object living there).
TestHttpServer::TestHttpServer() : m_thread(std::make_unique<QThread>()) {
    m_thread->start();
    while (!m_thread->eventDispatcher())
        QThread::yieldCurrentThread();
    QMetaObject::invokeMethod(
        m_thread->eventDispatcher(), [this] { m_port = (m_core = new TestHttpServerCore(*this))->port(); },
        Qt::BlockingQueuedConnection);
}

TestHttpServer::~TestHttpServer() {
    QMetaObject::invokeMethod(m_thread->eventDispatcher(), [this] { delete m_core; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
}

void TestHttpServer::serve(const QString &path, const Response &response) {
    QMutexLocker lock(&m_mutex);
    m_routes.insert(path, response);
}

QStringList TestHttpServer::requests() const {
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

int TestHttpServer::transfersCutShort() const {
    QMutexLocker lock(&m_mutex);
    return m_cutShort;
}

QString TestHttpServer::unreachableUrl() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}
