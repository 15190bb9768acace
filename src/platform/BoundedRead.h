// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HttpClient.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QNetworkReply;
class QNetworkRequest;

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
