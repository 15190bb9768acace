// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/caldav/DavHttp.h"

#include "calendar/caldav/DavXml.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

namespace {

bool isLocal(const QUrl& url) {
    const QHostAddress host(url.host());
    return url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           (!host.isNull() && host.isLoopback());
}

// What a transfer has gathered so far.
struct Transfer {
    QByteArray body;
    bool tooLarge = false;
    QString certificate; // the certificate errors, when the handshake failed on them
};

} // namespace

DavMultistatus DavReply::multistatus() const {
    if (status != 207)
        return DavMultistatus{{}, {}, describe()};
    return DavXml::parse(body);
}

QString DavReply::describe() const {
    if (!error.isEmpty())
        return error;
    switch (status) {
    case 401:
        return QStringLiteral("the server refused the user name or password (401)");
    case 403:
        return QStringLiteral("the server does not allow this (403)");
    case 404:
        return QStringLiteral("the server has no such address (404)");
    case 507:
        return QStringLiteral("the server has no room left (507 Insufficient Storage)");
    default:
        return status >= 500 ? QStringLiteral("the server failed (status %1)").arg(status)
                             : QStringLiteral("the server answered with status %1").arg(status);
    }
}

DavHttp::DavHttp(QObject* parent) : QObject(parent), m_generation(new QObject(this)) {}

DavHttp::~DavHttp() {
    delete m_generation;
}

QString DavHttp::refusal(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return QStringLiteral("the server address is not a web address");
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https")
        return {};
    if (scheme == u"http" && isLocal(url))
        return {};
    return QStringLiteral("the server address must begin with https:// (plain http is allowed "
                          "only for this computer)");
}

QUrl DavHttp::fromTyped(const QString& address) {
    QString text = address.trimmed();
    if (!text.isEmpty() && !text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("https://"));
    QUrl url(text, QUrl::StrictMode);
    if (url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    return url;
}

void DavHttp::setCredentials(const QString& host, const QString& user, const QString& password) {
    m_host = host;
    m_authorization = "Basic " + (user + u':' + password).toUtf8().toBase64();
}

void DavHttp::cancelAll() {
    delete m_generation;
    m_generation = new QObject(this);
}

void DavHttp::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                   const Headers& headers, Done done) {
    attempt(method, url, body, headers, 0, url.host().compare(m_host, Qt::CaseInsensitive) == 0,
            std::move(done));
}

void DavHttp::attempt(const QByteArray& method, const QUrl& url, const QByteArray& body,
                      const Headers& headers, int redirects, bool withCredentials, Done done) {
    const QString refused = refusal(url);
    if (!refused.isEmpty()) {
        QMetaObject::invokeMethod(
            m_generation,
            [done, refused, url] {
                DavReply r;
                r.url = url;
                r.error = refused;
                done(r);
            },
            Qt::QueuedConnection);
        return;
    }
    if (!m_manager) {
        m_manager = std::make_unique<QNetworkAccessManager>();
        m_manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(TimeLimitMs);
    request.setRawHeader("User-Agent", "Plumora");
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    if (withCredentials && !m_authorization.isEmpty())
        request.setRawHeader("Authorization", m_authorization);
    ++m_sent;
    QNetworkReply* reply = m_manager->sendCustomRequest(request, method, body);
    reply->setParent(m_generation);
    auto transfer = std::make_shared<Transfer>();
    const auto refuse = [reply, transfer] {
        transfer->tooLarge = true;
        reply->abort();
    };
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, refuse] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > DavXml::MaxBytes)
            refuse();
    });
    connect(reply, &QNetworkReply::readyRead, reply, [reply, transfer, refuse] {
        if (transfer->tooLarge)
            return;
        if (transfer->body.size() + reply->bytesAvailable() > DavXml::MaxBytes)
            refuse();
        else
            transfer->body += reply->readAll();
    });
    connect(reply, &QNetworkReply::sslErrors, reply, [transfer](const QList<QSslError>& errors) {
        QStringList texts;
        for (const QSslError& e : errors)
            texts << e.errorString();
        transfer->certificate = texts.join(QLatin1String("; "));
    });
    connect(
        reply, &QNetworkReply::finished, m_generation,
        [this, reply, transfer, method, url, body, headers, redirects, withCredentials,
         done = std::move(done)] {
            reply->deleteLater();
            DavReply r;
            r.url = url;
            const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
            if (transfer->tooLarge) {
                r.error = QStringLiteral("the server's answer is larger than 50 MB");
            } else if (!transfer->certificate.isEmpty()) {
                r.error = QStringLiteral("the server's certificate could not be verified: %1")
                              .arg(transfer->certificate);
                r.certificate = true;
            } else if (!status.isValid()) {
                r.error = reply->error() == QNetworkReply::OperationCanceledError
                              ? QStringLiteral("the server did not answer in time")
                              : QStringLiteral("the server could not be reached: %1")
                                    .arg(reply->errorString());
            } else {
                r.status = status.toInt();
                transfer->body += reply->readAll();
                r.body = std::move(transfer->body);
                r.etag = reply->rawHeader("ETag");
            }
            const bool redirect =
                r.error.isEmpty() && (r.status == 301 || r.status == 302 || r.status == 303 ||
                                      r.status == 307 || r.status == 308);
            if (!redirect)
                return done(r);
            const QUrl to = url.resolved(QUrl::fromEncoded(reply->rawHeader("Location")));
            if (redirects >= MaxRedirects) {
                r.error =
                    QStringLiteral("the server redirected more than %1 times").arg(MaxRedirects);
                return done(r);
            }
            if (!to.isValid() || to.host().isEmpty()) {
                r.error = QStringLiteral("the server redirected to no valid address");
                return done(r);
            }
            // Credentials stay with their host; a move to http is refused by attempt().
            const bool sameHost = to.host().compare(url.host(), Qt::CaseInsensitive) == 0;
            const bool keep = withCredentials && sameHost;
            if (r.status == 303)
                attempt("GET", to, {}, headers, redirects + 1, keep, done);
            else
                attempt(method, to, body, headers, redirects + 1, keep, done);
        });
}
