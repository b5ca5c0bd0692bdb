#ifndef GLYPHWERK_TESTS_CONTROLS_URL_CATCHER_H
#define GLYPHWERK_TESTS_CONTROLS_URL_CATCHER_H

// Receives the URLs of one scheme that QDesktopServices would hand to the desktop.

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit UrlCatcher(const QString &scheme) : m_scheme(scheme) { QDesktopServices::setUrlHandler(scheme, this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(m_scheme); }
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }

private:
    QString m_scheme;
};

#endif
