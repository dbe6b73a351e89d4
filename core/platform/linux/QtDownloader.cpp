#include "core/platform/linux/QtDownloader.h"

#include "core/BusyCursor.h"
#include "core/TextFile.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

bool QtDownloader::download(const QString& url, const QString& localFile)
{
    if (m_busy) return false;
    const QUrl target(url);
    if (!target.isValid() || target.scheme().isEmpty() || localFile.isEmpty()) return false;
    m_busy = true;

    QSaveFile file(localFile); // written beside the target and renamed over it only when complete
    bool ok = OpenSaveFile(file);
    if (ok) {
        QNetworkAccessManager manager;
        QNetworkRequest request(target);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        QNetworkReply* reply = manager.get(request);

        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(&timeout, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            reply->abort();
        });
        QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
            if (file.write(reply->readAll()) < 0) reply->abort();
        });
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        timeout.start(m_timeoutMs);
        if (!reply->isFinished()) {
            const BusyCursor busy; // clicks are served meanwhile; the callers guard against their re-entry
            loop.exec();
        }
        timeout.stop();
        // a loop ended from outside (the program's end) leaves the reply running: that is no download
        const bool finished = reply->isFinished();
        if (!finished) reply->abort();

        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        ok = finished && !timedOut && reply->error() == QNetworkReply::NoError &&
             (status == 0 || (status >= 200 && status < 300));
        if (ok && file.write(reply->readAll()) < 0) ok = false;
        delete reply;
    }
    if (ok) ok = CommitSaveFile(file);
    else file.cancelWriting();
    m_busy = false;
    return ok;
}
