// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

// How much and how long one HTTP transfer may take.
struct ReadLimits {
    qint64 maxBytes = 0;
    int idleMs = 30000;     // no byte for this long ends the transfer
    int deadlineMs = 60000; // the whole request, unless the body still arrives at a healthy rate:
    int windowMs = 10000;   // then it goes on a window at a time while each window brings
    qint64 healthyBytesPerSec = 100 * 1024; // at least this much a second,
    int longestMs = 600000;                 // and never longer than this

    // Whether a transfer `elapsedMs` old that received `bytes` in the last `spanMs` goes on.
    bool goesOn(qint64 elapsedMs, qint64 bytes, qint64 spanMs) const {
        if (elapsedMs < deadlineMs)
            return true;
        return elapsedMs < longestMs && spanMs > 0 && bytes * 1000 >= healthyBytesPerSec * spanMs;
    }
};

// One HTTP request as sent.
struct HttpRequest {
    QByteArray method = "GET";
    QUrl url;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    ReadLimits limits;
    // Redirects followed by the client, never from https to http; otherwise a redirect is
    // answered as it came, for the caller to follow.
    bool followRedirects = false;
};

// What one request brought back, as the transport saw it.
struct HttpResult {
    enum class Failure {
        None,        // an answer came (its status may still be an error)
        TooLarge,    // the body ran past the size limit and was dropped
        TimedOut,    // the body did not arrive within the time limits
        Certificate, // the server's certificate could not be verified
        Cancelled,   // the transfer was abandoned (a stall)
        Transport,   // no usable answer: `error` says why
        NoModule,    // the network code could not be loaded: `error` says why
    } failure = Failure::None;
    int status = 0; // the HTTP status; 0 when none came
    QByteArray body;
    QByteArray etag;     // the ETag header
    QByteArray location; // the Location header
    QString error;       // the transport's words for a failure, also for an error status
    QString certificate; // for Failure::Certificate: what was wrong with it
    bool ok() const { return failure == Failure::None; }
};

// Sends HTTP(S) requests; every answer comes later through the event loop. Certificates are
// checked against the system's authorities.
class HttpClient {
public:
    using Done = std::function<void(const HttpResult&)>;

    virtual ~HttpClient() = default;
    // Sends `request`. `done` runs once, from the event loop, unless `context` is destroyed
    // first: then the transfer is abandoned and `done` never runs.
    virtual void send(const HttpRequest& request, QObject* context, Done done) = 0;
};
