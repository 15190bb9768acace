// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HttpDownloader.h"

#include "platform/NetModule.h"

#include <QCoreApplication>
#include <QTimer>

HttpDownloader::HttpDownloader(int timeLimitMs) : m_timeLimitMs(timeLimitMs) {}

HttpDownloader::~HttpDownloader() = default;

void HttpDownloader::fetch(const QUrl& url, qint64 maxBytes, QObject* receiver, Done done) {
    const QString scheme = url.scheme().toLower();
    const bool web = scheme == u"http" || scheme == u"https";
    if (web && !m_client)
        m_client = NetModule::httpClient();
    if (!web || !m_client) {
        // Answered like any transfer: later, from the event loop.
        const QString error =
            web ? NetModule::failure()
                : QCoreApplication::translate("HttpDownloader", "not a web address: %1")
                      .arg(url.toString());
        QTimer::singleShot(0, receiver, [done = std::move(done), error] {
            Download d;
            d.error = error;
            done(d);
        });
        return;
    }

    HttpRequest request;
    request.url = url;
    request.limits = ReadLimits{maxBytes};
    request.limits.deadlineMs = m_timeLimitMs;
    request.limits.windowMs = qMin(request.limits.windowMs, m_timeLimitMs);
    request.followRedirects = true;
    m_client->send(
        request, receiver,
        [maxBytes, timeLimit = m_timeLimitMs, done = std::move(done)](const HttpResult& r) {
            Download d;
            switch (r.failure) {
            case HttpResult::Failure::TooLarge:
                d.tooLarge = true;
                d.error =
                    QCoreApplication::translate("HttpDownloader", "the answer is over %1 bytes")
                        .arg(maxBytes);
                break;
            case HttpResult::Failure::TimedOut:
            case HttpResult::Failure::Cancelled:
                d.error =
                    QCoreApplication::translate("HttpDownloader", "no complete answer within %1 s")
                        .arg(timeLimit / 1000);
                break;
            default:
                // An error status comes with the transport's words for it.
                if (!r.ok() || !r.error.isEmpty())
                    d.error = r.error.isEmpty() ? QCoreApplication::translate("HttpDownloader",
                                                                              "the download failed")
                                                : r.error;
                else
                    d.body = r.body;
            }
            done(d);
        });
}
