// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/caldav/DavHttp.h"

#include "calendar/caldav/DavXml.h"
#include "platform/Loopback.h"
#include "platform/NetModule.h"

namespace {

bool isLocal(const QUrl& url) {
    return isLoopbackHost(url.host());
}

int defaultPort(const QUrl& url) {
    return url.port(url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443
                                                                                           : 80);
}

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
        return DavHttp::tr("the server refused the user name or password (401)");
    case 403:
        return DavHttp::tr("the server does not allow this (403)");
    case 404:
        return DavHttp::tr("the server has no such address (404)");
    case 507:
        return DavHttp::tr("the server has no room left (507 Insufficient Storage)");
    default:
        return status >= 500 ? DavHttp::tr("the server failed (status %1)").arg(status)
                             : DavHttp::tr("the server answered with status %1").arg(status);
    }
}

DavHttp::DavHttp(QObject* parent) : QObject(parent), m_generation(new QObject(this)) {}

DavHttp::~DavHttp() {
    // The requests under way go before the client that sent them.
    delete m_generation;
}

QString DavHttp::refusal(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return DavHttp::tr("the server address is not a web address");
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https")
        return {};
    if (scheme == u"http" && isLocal(url))
        return {};
    return tr("the server address must begin with https:// (plain http is allowed "
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

bool DavHttp::sameOrigin(const QUrl& a, const QUrl& b) {
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && defaultPort(a) == defaultPort(b);
}

void DavHttp::setCredentials(const QUrl& server, const QString& user, const QString& password) {
    m_origin = server;
    m_authorization = "Basic " + (user + u':' + password).toUtf8().toBase64();
}

void DavHttp::cancelAll() {
    delete m_generation;
    m_generation = new QObject(this);
}

void DavHttp::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                   const Headers& headers, Done done) {
    attempt(method, url, body, headers, 0, sameOrigin(url, m_origin), std::move(done));
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
    if (!m_client)
        m_client = NetModule::httpClient();
    if (!m_client) {
        QMetaObject::invokeMethod(
            m_generation,
            [done, url] {
                DavReply r;
                r.url = url;
                r.error = NetModule::failure();
                done(r);
            },
            Qt::QueuedConnection);
        return;
    }
    HttpRequest request{method, url, body, headers, m_limits, false};
    request.headers.prepend({"User-Agent", "Plumora"});
    if (withCredentials && !m_authorization.isEmpty())
        request.headers.append({"Authorization", m_authorization});
    ++m_sent;
    m_client->send(
        request, m_generation,
        [this, limits = m_limits, method, url, body, headers, redirects, withCredentials,
         done = std::move(done)](const HttpResult& result) {
            DavReply r;
            r.url = url;
            using Failure = HttpResult::Failure;
            switch (result.failure) {
            case Failure::TooLarge:
                r.error = DavHttp::tr("the server's answer is larger than %1 MB")
                              .arg(limits.maxBytes / (1024 * 1024));
                break;
            case Failure::TimedOut:
                r.error = DavHttp::tr("the server's answer did not come within %1 s")
                              .arg(limits.deadlineMs / 1000.0);
                break;
            case Failure::Certificate:
                r.error = DavHttp::tr("the server's certificate could not be verified: %1")
                              .arg(result.certificate);
                r.certificate = true;
                break;
            case Failure::Cancelled:
                r.error = DavHttp::tr("the server did not answer in time");
                break;
            case Failure::Transport:
                r.error = DavHttp::tr("the server could not be reached: %1").arg(result.error);
                break;
            case Failure::NoModule:
                r.error = result.error;
                break;
            case Failure::None:
                r.status = result.status;
                r.body = result.body;
                r.etag = result.etag;
                break;
            }
            const bool redirect =
                r.error.isEmpty() && (r.status == 301 || r.status == 302 || r.status == 303 ||
                                      r.status == 307 || r.status == 308);
            if (!redirect)
                return done(r);
            const QUrl to = url.resolved(QUrl::fromEncoded(result.location));
            if (redirects >= MaxRedirects) {
                r.error = DavHttp::tr("the server redirected more than %1 times").arg(MaxRedirects);
                return done(r);
            }
            if (!to.isValid() || to.host().isEmpty()) {
                r.error = DavHttp::tr("the server redirected to no valid address");
                return done(r);
            }
            // Credentials stay with their origin; a move to http is refused by attempt().
            const bool keep = withCredentials && sameOrigin(to, url);
            if (r.status == 303)
                attempt("GET", to, {}, headers, redirects + 1, keep, done);
            else
                attempt(method, to, body, headers, redirects + 1, keep, done);
        });
}
