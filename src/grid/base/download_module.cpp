// The download module: picture bodies fetched over http and https with Qt Network, which
// nothing else of the program links.  Built as a shared library of its own.
#include "grid/base/download.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>

extern "C" Q_DECL_EXPORT void fabricat_download(QThread* Thread, const QString& URL, qint64 Limit, int Timeout,
                                                QByteArray& Data, QString& Error, bool& Cancelled)
{
    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(URL)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    auto fail = [&](const QString& why) {
        if (Error.isEmpty() && !Cancelled) Error = why;
        reply->abort();
    };
    const QString tooLarge = QStringLiteral("Picture larger than %1 bytes").arg(Limit);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > Limit) fail(tooLarge);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, [&] {
        Data += reply->read(Limit + 1 - Data.size());
        if (Data.size() > Limit) fail(tooLarge);
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] { fail(QStringLiteral("Picture download timed out")); });
    deadline.start(Timeout);
    // The picture may be going: a request to stop is looked for every few milliseconds.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!Thread->isInterruptionRequested()) return;
        Cancelled = true;
        reply->abort();
    });
    watch.start(10);
    if (!reply->isFinished()) loop.exec();
    if (Error.isEmpty() && !Cancelled) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError) Error = reply->errorString();
        else if (status < 200 || status > 299) Error = QStringLiteral("HTTP status %1").arg(status);
        else Data += reply->read(Limit + 1 - Data.size());
        if (Error.isEmpty() && Data.size() > Limit) Error = tooLarge;
    }
    if (!Error.isEmpty() || Cancelled) Data.clear();
    delete reply;
}
