// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP on QNetworkAccessManager, each transfer within its ReadLimits (BoundedRead).
#include "platform/BoundedRead.h"
#include "platform/net/NetCode.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

#include <memory>

namespace {

HttpResult resultOf(QNetworkReply& reply, BoundedRead& read, const QString& certificate) {
    HttpResult r;
    using Failure = HttpResult::Failure;
    const QNetworkReply::NetworkError error = reply.error();
    if (error != QNetworkReply::NoError)
        r.error = reply.errorString();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (read.tooLarge()) {
        r.failure = Failure::TooLarge;
    } else if (read.timedOut()) {
        r.failure = Failure::TimedOut;
    } else if (!certificate.isEmpty()) {
        r.failure = Failure::Certificate;
        r.certificate = certificate;
    } else if (error == QNetworkReply::OperationCanceledError) {
        r.failure = Failure::Cancelled;
    } else if (!status.isValid() || (error != QNetworkReply::NoError && error < 100)) {
        // A transport failure after the headers (a stall, a broken connection) leaves the
        // body cut short: no answer either.
        r.failure = Failure::Transport;
    } else {
        r.status = status.toInt();
        r.body = read.takeBody();
        if (read.tooLarge()) {
            r.failure = Failure::TooLarge;
            r.body.clear();
        }
        r.etag = reply.rawHeader("ETag");
        r.location = reply.rawHeader("Location");
    }
    return r;
}

class QtHttpClient final : public HttpClient {
public:
    void send(const HttpRequest& request, QObject* context, Done done) override;

private:
    // Made on first use: a client that never sends never starts the network stack.
    std::unique_ptr<QNetworkAccessManager> m_manager;
};

void QtHttpClient::send(const HttpRequest& request, QObject* context, Done done) {
    if (!m_manager) {
        m_manager = std::make_unique<QNetworkAccessManager>();
        m_manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    QNetworkRequest r(request.url);
    r.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                   request.followRedirects ? QNetworkRequest::NoLessSafeRedirectPolicy
                                           : QNetworkRequest::ManualRedirectPolicy);
    BoundedRead::prepare(r, request.limits);
    for (const auto& [name, value] : request.headers)
        r.setRawHeader(name, value);
    QNetworkReply* reply = request.body.isEmpty() && request.method == "GET"
                               ? m_manager->get(r)
                               : m_manager->sendCustomRequest(r, request.method, request.body);
    // The context owns the transfer: when it goes, the reply is deleted, which aborts it.
    reply->setParent(context);
    auto* read = new BoundedRead(reply, request.limits);
    auto certificate = std::make_shared<QString>(); // the errors, when the handshake failed on them
    QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                     [certificate](const QList<QSslError>& errors) {
                         QStringList texts;
                         for (const QSslError& e : errors)
                             texts << e.errorString();
                         *certificate = texts.join(QLatin1String("; "));
                     });
    QObject::connect(reply, &QNetworkReply::finished, context,
                     [reply, read, certificate, done = std::move(done)] {
                         reply->deleteLater();
                         done(resultOf(*reply, *read, *certificate));
                     });
}

} // namespace

HttpClient* NetCode::makeHttpClient() {
    return new QtHttpClient;
}
