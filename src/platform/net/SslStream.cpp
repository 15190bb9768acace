// SPDX-License-Identifier: GPL-3.0-or-later
// StreamSocket on QSslSocket.
#include "platform/net/NetCode.h"

#include <QCoreApplication>
#include <QSslConfiguration>
#include <QSslSocket>

#include <optional>

namespace {

class SslStream final : public QObject, public StreamSocket {
public:
    explicit SslStream(QObject* parent) : QObject(parent), m_socket(new QSslSocket(this)) {
        // Each handler is copied before it runs: it may close the socket, which drops them.
        connect(m_socket, &QSslSocket::connected, this, [this] { call(m_events.connected); });
        connect(m_socket, &QSslSocket::readyRead, this, [this] { call(m_events.readyRead); });
        connect(m_socket, &QSslSocket::encrypted, this, [this] { call(m_events.encrypted); });
        connect(m_socket, &QSslSocket::errorOccurred, this, [this] { call(m_events.ended); });
        connect(m_socket, &QSslSocket::disconnected, this, [this] { call(m_events.ended); });
        connect(m_socket, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
            // Never ignored: the handshake fails and the socket reports it.
            QStringList reasons;
            for (const QSslError& e : errors)
                reasons << e.errorString();
            if (auto refused = m_events.certificateRefused)
                refused(reasons.join(QStringLiteral("; ")));
        });
    }

    bool supportsTls() const override { return QSslSocket::supportsSsl(); }
    void setAuthorities(const QByteArray& pem) override {
        m_authorities = QSslCertificate::fromData(pem);
    }
    void setReadBufferSize(qint64 bytes) override { m_socket->setReadBufferSize(bytes); }
    void setEvents(Events events) override { m_events = std::move(events); }
    void connectPlain(const QString& host, quint16 port) override {
        configure();
        m_socket->connectToHost(host, port);
    }
    void connectTls(const QString& host, quint16 port) override {
        configure();
        m_socket->connectToHostEncrypted(host, port);
    }
    void startTls() override { m_socket->startClientEncryption(); }
    qint64 bytesAvailable() const override { return m_socket->bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override { return m_socket->read(maxBytes); }
    void write(const QByteArray& data) override { m_socket->write(data); }
    bool isEncrypted() const override { return m_socket->isEncrypted(); }
    // In the words of the Options mail group.
    QString reason() const override {
        switch (m_socket->error()) {
        case QAbstractSocket::ConnectionRefusedError:
            return QCoreApplication::translate("MailCheck", "connection refused");
        case QAbstractSocket::HostNotFoundError:
            return QCoreApplication::translate("MailCheck", "server not found");
        case QAbstractSocket::SocketTimeoutError:
            return QCoreApplication::translate("MailCheck", "timed out");
        case QAbstractSocket::RemoteHostClosedError:
            return QCoreApplication::translate("MailCheck", "closed by the server");
        case QAbstractSocket::NetworkError:
            return QCoreApplication::translate("MailCheck", "network unreachable");
        default:
            return m_socket->errorString();
        }
    }
    QString errorString() const override { return m_socket->errorString(); }
    void close(bool graceful) override {
        m_events = {};
        m_socket->disconnect(this);
        if (graceful && m_socket->state() != QAbstractSocket::UnconnectedState) {
            connect(m_socket, &QSslSocket::disconnected, this, &QObject::deleteLater);
            m_socket->disconnectFromHost();
        } else {
            m_socket->abort();
            deleteLater();
        }
    }

private:
    static void call(const std::function<void()>& handler) {
        if (const auto copy = handler)
            copy();
    }

    // The system's TLS set-up (it loads the TLS libraries) is read at connecting, not when
    // the socket is made. Whatever the authorities, a certificate is always checked.
    void configure() {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        if (m_authorities)
            tls.setCaCertificates(*m_authorities);
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        m_socket->setSslConfiguration(tls);
    }

    QSslSocket* m_socket;
    Events m_events;
    std::optional<QList<QSslCertificate>> m_authorities;
};

} // namespace

StreamSocket* NetCode::makeStreamSocket(QObject* parent) {
    return new SslStream(parent);
}
