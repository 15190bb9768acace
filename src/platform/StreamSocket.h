// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// A TCP connection that is TLS from the start or upgraded to it later, for a line dialogue
// with a server. Certificates are checked against the trusted authorities (the system's
// unless set) and one that fails is never accepted. Events arrive from the event loop; an
// event handler may close() the socket.
class StreamSocket {
public:
    struct Events {
        std::function<void()> connected; // the TCP connection stands
        std::function<void()> readyRead;
        std::function<void()> encrypted; // the TLS handshake succeeded
        // The certificate was refused (`why`); the handshake then fails and `ended` follows.
        std::function<void(const QString& why)> certificateRefused;
        std::function<void()> ended; // an error, or the server closed the connection
    };

    // Whether TLS can be used at all on this computer.
    virtual bool supportsTls() const = 0;
    // The authorities to trust instead of the system's: PEM certificates.
    virtual void setAuthorities(const QByteArray& pem) = 0;
    // The most bytes kept unread.
    virtual void setReadBufferSize(qint64 bytes) = 0;
    virtual void setEvents(Events events) = 0;
    virtual void connectPlain(const QString& host, quint16 port) = 0;
    virtual void connectTls(const QString& host, quint16 port) = 0;
    virtual void startTls() = 0;
    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray read(qint64 maxBytes) = 0;
    virtual void write(const QByteArray& data) = 0;
    virtual bool isEncrypted() const = 0;
    // Why the connection failed, in a few words ("connection refused", "timed out"), and the
    // system's own words for it.
    virtual QString reason() const = 0;
    virtual QString errorString() const = 0;
    // Drops the events and closes, after the data written so far when `graceful`; the socket
    // is then deleted by itself and must not be used.
    virtual void close(bool graceful) = 0;

protected:
    virtual ~StreamSocket() = default;
};
