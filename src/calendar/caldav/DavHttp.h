// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/caldav/DavXml.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QNetworkAccessManager;

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

// The HTTP side of calendar sync, on QNetworkAccessManager: every request answers later
// through the event loop, never blocking. Addresses must be https, except the machine
// itself; certificates are checked against the system's authorities. Redirects are
// followed by hand, at most MaxRedirects, and the credentials go only to the host they
// were given for. A body over DavXml::MaxBytes is refused.
class DavHttp : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxRedirects = 10;
    static constexpr int TimeLimitMs = 60000;
    using Headers = QList<QPair<QByteArray, QByteArray>>;
    using Done = std::function<void(const DavReply&)>;

    explicit DavHttp(QObject* parent = nullptr);
    ~DavHttp() override;

    // Whether `url` may be used: empty, or the reason it may not ("https is required").
    static QString refusal(const QUrl& url);
    // The user's typed address as a URL: https:// is assumed without a scheme.
    static QUrl fromTyped(const QString& address);

    // The account's credentials, sent to `host` only (Basic authentication).
    void setCredentials(const QString& host, const QString& user, const QString& password);

    void send(const QByteArray& method, const QUrl& url, const QByteArray& body,
              const Headers& headers, Done done);
    // Requests sent so far, redirects counted.
    int requestsSent() const { return m_sent; }
    // Drops every request under way; their `done` never runs.
    void cancelAll();

private:
    void attempt(const QByteArray& method, const QUrl& url, const QByteArray& body,
                 const Headers& headers, int redirects, bool withCredentials, Done done);

    std::unique_ptr<QNetworkAccessManager> m_manager;
    QString m_host;
    QByteArray m_authorization;
    int m_sent = 0;
    // Requests under way; cancelAll() parents new ones to a fresh generation.
    QObject* m_generation = nullptr;
};
