// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QNetworkReply;
class QNetworkRequest;

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

// Reads a reply's body within limits. Qt is given a small read buffer, so it reads no further
// ahead of us than that; the body is taken on each readyRead and counted. At the size limit or
// the deadline the reply is aborted, which closes the connection, and what was read is
// dropped. Lives as the reply's child.
class BoundedRead : public QObject {
public:
    static constexpr qint64 ReadBufferBytes = 256 * 1024;

    // Sets the request's idle timeout; call before sending it.
    static void prepare(QNetworkRequest& request, const ReadLimits& limits);

    BoundedRead(QNetworkReply* reply, const ReadLimits& limits);

    // After finished: the body, the rest read first; empty when the transfer was cut.
    QByteArray takeBody();
    bool tooLarge() const { return m_tooLarge; }
    bool timedOut() const { return m_timedOut; }
    // Bytes of body received so far.
    qint64 received() const { return m_received; }

private:
    void readMore();
    void deadlinePassed();
    void cut(bool tooLarge);

    QNetworkReply* m_reply;
    ReadLimits m_limits;
    QByteArray m_body;
    qint64 m_received = 0;
    qint64 m_receivedAtCheck = 0;
    qint64 m_lastCheckMs = 0;
    bool m_tooLarge = false;
    bool m_timedOut = false;
    QElapsedTimer m_age;
    QTimer m_deadline;
};
