// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/caldav/DavXml.h"
#include "platform/HttpClient.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

// What one request brought back.
struct DavReply {
    int status = 0; // the HTTP status; 0 when no answer came
    QByteArray body;
    QByteArray etag;          // the ETag header
    QUrl url;                 // where the answer came from, after redirects
    QString error;            // why no usable answer came (transport, certificate, size, redirects)
    bool certificate = false; // the error is a certificate that could not be verified
    bool ok() const { return error.isEmpty() && status >= 200 && status <= 299; }
    // The failure in words for the status line: the error, else the status.
    QString describe() const;
    // A failure only the user can mend: a refused certificate or user name and password.
    bool needsUser() const { return certificate || status == 401; }
    // The body read as a multistatus; any status but 207 is the reply's failure.
    DavMultistatus multistatus() const;
};

// The HTTP side of calendar sync, on HttpClient: every request answers later
// through the event loop, never blocking. Addresses must be https, except the machine
// itself; certificates are checked against the system's authorities. Redirects are
// followed by hand, at most MaxRedirects, and the credentials go only to the origin (scheme,
// host and port) they were given for. Each request keeps within its ReadLimits: a body over
// DavXml::MaxBytes is refused, and one that does not arrive in time is given up.
class DavHttp : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxRedirects = 10;
    using Headers = QList<QPair<QByteArray, QByteArray>>;
    using Done = std::function<void(const DavReply&)>;

    explicit DavHttp(QObject* parent = nullptr);
    ~DavHttp() override;

    // Whether `url` may be used: empty, or the reason it may not ("https is required").
    static QString refusal(const QUrl& url);
    // The user's typed address as a URL: https:// is assumed without a scheme.
    static QUrl fromTyped(const QString& address);

    // Whether two addresses share scheme, host and port (the port a scheme implies counted).
    static bool sameOrigin(const QUrl& a, const QUrl& b);

    // The account's credentials, sent only to the origin of `server` (Basic authentication).
    void setCredentials(const QUrl& server, const QString& user, const QString& password);
    // Limits for requests sent from now on; tests shorten the times.
    void setLimits(const ReadLimits& limits) { m_limits = limits; }
    const ReadLimits& limits() const { return m_limits; }

    void send(const QByteArray& method, const QUrl& url, const QByteArray& body,
              const Headers& headers, Done done);
    // Requests sent so far, redirects counted.
    int requestsSent() const { return m_sent; }
    // Drops every request under way; their `done` never runs.
    void cancelAll();

private:
    void attempt(const QByteArray& method, const QUrl& url, const QByteArray& body,
                 const Headers& headers, int redirects, bool withCredentials, Done done);

    std::unique_ptr<HttpClient> m_client; // made at the first request
    QUrl m_origin;
    ReadLimits m_limits{DavXml::MaxBytes};
    QByteArray m_authorization;
    int m_sent = 0;
    // Requests under way; cancelAll() parents new ones to a fresh generation.
    QObject* m_generation = nullptr;
};
