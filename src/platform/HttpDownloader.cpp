// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HttpDownloader.h"

#include "platform/BoundedRead.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

void HttpDownloader::fetch(const QUrl& url, qint64 maxBytes, QObject* receiver, Done done) {
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https") {
        // Answered like any transfer: later, from the event loop.
        QTimer::singleShot(0, receiver, [done = std::move(done), url] {
            Download d;
            d.error = QCoreApplication::translate("HttpDownloader", "not a web address: %1")
                          .arg(url.toString());
            done(d);
        });
        return;
    }
    if (!m_manager)
        m_manager = std::make_unique<QNetworkAccessManager>();

    ReadLimits limits{maxBytes};
    limits.deadlineMs = m_timeLimitMs;
    limits.windowMs = qMin(limits.windowMs, m_timeLimitMs);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    BoundedRead::prepare(request, limits);
    QNetworkReply* reply = m_manager->get(request);
    auto* read = new BoundedRead(reply, limits);

    auto finished = std::make_shared<QMetaObject::Connection>();
    *finished = QObject::connect(
        reply, &QNetworkReply::finished, receiver,
        [reply, read, maxBytes, timeLimit = m_timeLimitMs, done = std::move(done)] {
            reply->deleteLater();
            Download d;
            if (read->tooLarge()) {
                d.tooLarge = true;
                d.error =
                    QCoreApplication::translate("HttpDownloader", "the answer is over %1 bytes")
                        .arg(maxBytes);
            } else if (read->timedOut() ||
                       reply->error() == QNetworkReply::OperationCanceledError) {
                d.error =
                    QCoreApplication::translate("HttpDownloader", "no complete answer within %1 s")
                        .arg(timeLimit / 1000);
            } else if (reply->error() != QNetworkReply::NoError) {
                d.error = reply->errorString();
            } else {
                d.body = read->takeBody();
                if (read->tooLarge()) {
                    d.tooLarge = true;
                    d.error =
                        QCoreApplication::translate("HttpDownloader", "the answer is over %1 bytes")
                            .arg(maxBytes);
                }
            }
            done(d);
        });
    // A receiver that goes away cancels the transfer and hears nothing of it.
    QObject::connect(receiver, &QObject::destroyed, reply, [reply, finished] {
        QObject::disconnect(*finished);
        reply->abort();
        reply->deleteLater();
    });
}
