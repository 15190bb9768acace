// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HttpDownloader.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

// What a transfer has gathered so far.
struct Transfer {
    QByteArray body;
    bool tooLarge = false;
    bool timedOut = false;
};

} // namespace

void HttpDownloader::fetch(const QUrl& url, qint64 maxBytes, QObject* receiver, Done done) {
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https") {
        // Answered like any transfer: later, from the event loop.
        QTimer::singleShot(0, receiver, [done = std::move(done), url] {
            Download d;
            d.error = QStringLiteral("not a web address: ") + url.toString();
            done(d);
        });
        return;
    }
    if (!m_manager)
        m_manager = std::make_unique<QNetworkAccessManager>();

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_manager->get(request);
    auto transfer = std::make_shared<Transfer>();

    const auto refuse = [reply, transfer] {
        transfer->tooLarge = true;
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, maxBytes, refuse] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBytes)
            refuse();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, transfer, maxBytes, refuse] {
        if (transfer->tooLarge)
            return;
        if (transfer->body.size() + reply->bytesAvailable() > maxBytes)
            refuse();
        else
            transfer->body += reply->readAll();
    });

    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply, transfer] {
        transfer->timedOut = true;
        reply->abort();
    });
    deadline->start(m_timeLimitMs);

    auto finished = std::make_shared<QMetaObject::Connection>();
    *finished = QObject::connect(
        reply, &QNetworkReply::finished, receiver,
        [reply, transfer, maxBytes, timeLimit = m_timeLimitMs, done = std::move(done)] {
            reply->deleteLater();
            Download d;
            if (transfer->tooLarge) {
                d.tooLarge = true;
                d.error = QStringLiteral("the answer is over %1 bytes").arg(maxBytes);
            } else if (transfer->timedOut) {
                d.error = QStringLiteral("no complete answer within %1 s").arg(timeLimit / 1000);
            } else if (reply->error() != QNetworkReply::NoError) {
                d.error = reply->errorString();
            } else {
                transfer->body += reply->readAll();
                if (transfer->body.size() > maxBytes) {
                    d.tooLarge = true;
                    d.error = QStringLiteral("the answer is over %1 bytes").arg(maxBytes);
                } else {
                    d.body = std::move(transfer->body);
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
