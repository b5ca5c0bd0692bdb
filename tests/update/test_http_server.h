#ifndef GLYPHWERK_TESTS_UPDATE_TEST_HTTP_SERVER_H
#define GLYPHWERK_TESTS_UPDATE_TEST_HTTP_SERVER_H

// An HTTP/1.1 server on 127.0.0.1 with its own thread, serving while the thread under test blocks. It sends a
// body slowly, in chunks with pauses (Qt reports progress at most every 100 ms), or over and over, endlessly.

#include <QMap>
#include <QMutex>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

class TestHttpServer : QObject {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        int chunkSize = 0, pauseMs = 0; // a pause before each chunk of this size; 0: the whole body at once
        bool announceLength = true; // false: no Content-Length, the end is the connection's close
        qint64 repeat = 1;          // the body is sent this many times in a row
    };

    // The listening socket is made and deleted on the server's thread, where it serves.
    TestHttpServer() {
        moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(this, [this] {
            m_server = new QTcpServer;
            m_server->listen(QHostAddress::LocalHost, 0);
            m_port = m_server->serverPort();
            connect(m_server, &QTcpServer::newConnection, this, [this] {
                while (QTcpSocket *socket = m_server->nextPendingConnection())
                    accept(socket);
            });
        }, Qt::BlockingQueuedConnection);
    }
    ~TestHttpServer() {
        QMetaObject::invokeMethod(this, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    // Serves `response` for `path` (the query is ignored); other paths get 404.
    void serve(const QString &path, const Response &response) {
        QMutexLocker lock(&m_mutex);
        m_routes.insert(path, response);
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    // An update description of `version` whose notes and installer are /notes.txt and /setup here.
    QByteArray description(const QByteArray &version) const {
        return "[Update]\r\nAppname=Glyphwerk\r\nVersion=" + version + "\r\nUrlNote=" + url().toLatin1() +
               "/notes.txt\r\nUrlUpdate=" + url().toLatin1() + "/setup\r\n";
    }
    // Request targets (path and query) in the order they arrived.
    QStringList requests() const { QMutexLocker lock(&m_mutex); return m_requests; }
    // Transfers whose client closed the connection before the whole body was sent.
    int transfersCutShort() const { QMutexLocker lock(&m_mutex); return m_cutShort; }
    // A URL on 127.0.0.1 where nothing listens.
    static QString unreachableUrl() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort()); // free once the probe closes
    }

private:
    void accept(QTcpSocket *socket) {
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
        QMutexLocker lock(&m_mutex);
        m_requests << target;
        const Response response = m_routes.value(target.section(QLatin1Char('?'), 0, 0), Response{404, "not here\n"});
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
    void send(QPointer<QTcpSocket> socket, const Response &response, qint64 sent) {
        QTimer::singleShot(response.pauseMs, this, [this, socket, response, sent]() mutable {
            if (!socket || socket->state() != QAbstractSocket::ConnectedState) {
                QMutexLocker lock(&m_mutex);
                ++m_cutShort;
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

    mutable QMutex m_mutex;
    QMap<QString, Response> m_routes;
    QStringList m_requests;
    int m_cutShort = 0;
    quint16 m_port = 0;
    QThread m_thread;
    QTcpServer *m_server = nullptr; // on m_thread, the parent of its sockets
};

#endif
