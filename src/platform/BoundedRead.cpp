// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BoundedRead.h"

#include <QNetworkReply>
#include <QNetworkRequest>

void BoundedRead::prepare(QNetworkRequest& request, const ReadLimits& limits) {
    request.setTransferTimeout(limits.idleMs);
}

BoundedRead::BoundedRead(QNetworkReply* reply, const ReadLimits& limits)
    : QObject(reply), m_reply(reply), m_limits(limits) {
    // Qt hands the size to its network thread only for a request that has started there; a
    // request with a body, and one that follows a redirect, starts from the event loop. The
    // size set again from the event loop reaches the thread right after the start, before
    // any answer.
    const auto limitBuffer = [this] { m_reply->setReadBufferSize(ReadBufferBytes); };
    limitBuffer();
    QMetaObject::invokeMethod(this, limitBuffer, Qt::QueuedConnection);
    connect(reply, &QNetworkReply::redirected, this, [this, limitBuffer] {
        QMetaObject::invokeMethod(this, limitBuffer, Qt::QueuedConnection);
    });
    m_age.start();
    connect(reply, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_limits.maxBytes)
            cut(true);
    });
    connect(reply, &QNetworkReply::readyRead, this, &BoundedRead::readMore);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &BoundedRead::deadlinePassed);
    m_deadline.start(m_limits.deadlineMs);
}

void BoundedRead::readMore() {
    if (m_tooLarge || m_timedOut)
        return;
    // Never more than the limit and one byte: that byte proves the body too large.
    const qint64 room = m_limits.maxBytes + 1 - m_body.size();
    const QByteArray piece = m_reply->read(qMin(room, m_reply->bytesAvailable()));
    m_received += piece.size();
    m_body += piece;
    if (m_body.size() > m_limits.maxBytes)
        cut(true);
}

void BoundedRead::deadlinePassed() {
    const qint64 now = m_age.elapsed();
    // At the deadline the rate is the whole request's; later, each window's.
    if (!m_reply->isFinished() &&
        m_limits.goesOn(now, m_received - m_receivedAtCheck, now - m_lastCheckMs)) {
        m_receivedAtCheck = m_received;
        m_lastCheckMs = now;
        m_deadline.start(m_limits.windowMs);
        return;
    }
    if (!m_reply->isFinished())
        cut(false);
}

void BoundedRead::cut(bool tooLarge) {
    if (m_tooLarge || m_timedOut)
        return;
    (tooLarge ? m_tooLarge : m_timedOut) = true;
    m_deadline.stop();
    m_body = QByteArray();
    m_reply->abort();
}

QByteArray BoundedRead::takeBody() {
    if (m_tooLarge || m_timedOut)
        return {};
    readMore();
    if (m_tooLarge)
        return {};
    return std::exchange(m_body, QByteArray());
}
