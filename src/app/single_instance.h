#ifndef GLYPHWERK_APP_SINGLE_INSTANCE_H
#define GLYPHWERK_APP_SINGLE_INSTANCE_H

// Open requests between instances, as the shell's open requests: a second
// `glyphwerk FILE` hands FILE to the running instance and ends; the running
// one opens it. One local socket per user, in the user's runtime folder.

#include <QObject>
#include <QStringList>

class QLocalServer;

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QObject *parent = nullptr);

    // The socket's name: a path private to the user.
    static QString ServerName();

    // Sends `paths` (absolute) to a running instance; true when one took them.
    static bool ForwardToRunning(const QStringList &paths, int timeoutMs = 2000);

    // Starts accepting open requests; a socket left by an instance that died
    // is replaced. False when another instance already listens.
    bool Listen();

signals:
    void openRequested(const QString &path);

private:
    void OnNewConnection();

    QLocalServer *m_pServer = nullptr;
};

#endif
