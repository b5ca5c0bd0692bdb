#ifndef GLYPHWERK_TESTS_UPDATE_TEST_HTTP_SERVER_H
#define GLYPHWERK_TESTS_UPDATE_TEST_HTTP_SERVER_H

// An HTTP/1.1 server on 127.0.0.1 with its own thread, serving while the thread
// under test blocks. It sends a body slowly, in chunks with pauses (Qt reports
// progress at most every 100 ms), or over and over, as an endless server would.

#include <QMap>
#include <QMutex>
#include <QStringList>
#include <memory>

class QThread;

class TestHttpServer {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        int chunkSize = 0;          // 0: the whole body at once
        int pauseMs = 0;            // pause before each chunk
        bool announceLength = true; // false: no Content-Length, the end is the connection's close
        qint64 repeat = 1;          // the body is sent this many times in a row
    };

    TestHttpServer();
    ~TestHttpServer();

    // Serves `response` for `path` (the query is ignored); other paths get 404.
    void serve(const QString &path, const Response &response) {
        QMutexLocker lock(&m_mutex);
        m_routes.insert(path, response);
    }
    void serve(const QString &path, const QByteArray &body) { serve(path, Response{200, body}); }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    // An update description of `version` whose notes and installer are /notes.txt and /setup here.
    QByteArray description(const QByteArray &version) const {
        return "[Update]\r\nAppname=Glyphwerk\r\nVersion=" + version + "\r\nUrlNote=" + url().toLatin1() +
               "/notes.txt\r\nUrlUpdate=" + url().toLatin1() + "/setup\r\n";
    }
    // Request targets (path and query) in the order they arrived.
    QStringList requests() const {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }
    // Transfers whose client closed the connection before the whole body was sent.
    int transfersCutShort() const {
        QMutexLocker lock(&m_mutex);
        return m_cutShort;
    }
    // A URL on 127.0.0.1 where nothing listens.
    static QString unreachableUrl();

private:
    friend class TestHttpServerCore;
    mutable QMutex m_mutex;
    QMap<QString, Response> m_routes;
    QStringList m_requests;
    int m_cutShort = 0;
    quint16 m_port = 0;
    std::unique_ptr<QThread> m_thread;
    class TestHttpServerCore *m_core = nullptr; // lives on m_thread
};

#endif
