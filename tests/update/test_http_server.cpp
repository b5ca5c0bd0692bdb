#include "test_http_server.h"

#include <QAbstractEventDispatcher>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

class TestHttpServerCore : public QObject {
public:
    explicit TestHttpServerCore(TestHttpServer &owner) : m_owner(owner) {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                accept(socket);
        });
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    void accept(QTcpSocket *socket) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request = QByteArray()]() mutable {
            request += socket->readAll();
            if (request.contains("\r\n\r\n") && !socket->property("answered").toBool()) {
                socket->setProperty("answered", true);
                answer(socket, QString::fromLatin1(request.left(request.indexOf("\r\n")).split(' ').value(1)));
            }
        });
    }

    void answer(QTcpSocket *socket, const QString &target) {
        QMutexLocker lock(&m_owner.m_mutex);
        m_owner.m_requests << target;
        const TestHttpServer::Response response = m_owner.m_routes.value(
            target.section(QLatin1Char('?'), 0, 0), TestHttpServer::Response{404, QByteArray("not here\n")});
        lock.unlock();
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + (response.status == 200 ? " OK" : " Not Found") +
                          "\r\nConnection: close\r\nContent-Type: application/octet-stream\r\n";
        if (response.announceLength)
            head += "Content-Length: " + QByteArray::number(response.body.size() * response.repeat) + "\r\n";
        socket->write(head + "\r\n");
        send(socket, response, 0);
    }

    // Sends the body `repeat` times over from offset `sent`, one chunk (at
    // most the rest of one body) per pause, holding back while the socket
    // still has much to write.
    void send(QPointer<QTcpSocket> socket, const TestHttpServer::Response &response, qint64 sent) {
        QTimer::singleShot(response.pauseMs, this, [this, socket, response, sent]() mutable {
            if (!socket || socket->state() != QAbstractSocket::ConnectedState) {
                QMutexLocker lock(&m_owner.m_mutex);
                ++m_owner.m_cutShort;
                return;
            }
            const qint64 total = response.body.size() * response.repeat;
            if (sent < total && socket->bytesToWrite() < 1024 * 1024)
                sent += socket->write(response.body.mid(sent % response.body.size(),
                                                        response.chunkSize > 0 ? response.chunkSize : -1));
            if (sent < total)
                send(socket, response, sent);
            else
                socket->disconnectFromHost();
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

QString TestHttpServer::unreachableUrl() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort()); // free once the probe closes
}
