#include "mail/Pop3Check.h"

#include "base/Clock.h"
#include "base/TickTimer.h"

#include <QSslSocket>

Q_LOGGING_CATEGORY(lcMail, "plumora.mail", QtCriticalMsg)

using Outcome = Pop3Dialogue::Outcome;

Pop3Check::Pop3Check(const Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_ssl(QSslConfiguration::defaultConfiguration()),
      m_ownTickTimer(std::make_unique<QtTickTimer>(m_ownTimer)), m_timer(m_ownTickTimer.get()) {
    m_ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
    connect(&m_ownTimer, &QTimer::timeout, this, &Pop3Check::tick);
}

Pop3Check::~Pop3Check() {
    stop();
}

void Pop3Check::setServer(const QString& host, quint16 port) {
    m_host = host.trimmed();
    m_port = port;
}

void Pop3Check::setAccount(const QString& user, const QString& password) {
    m_user = user;
    m_password = password;
}

void Pop3Check::setSslConfiguration(const QSslConfiguration& config) {
    m_ssl = config;
}

void Pop3Check::setTimer(TickTimer* timer) {
    m_timer = timer ? timer : m_ownTickTimer.get();
}

bool Pop3Check::start() {
    if (m_running)
        return true;
    if (m_host.isEmpty()) {
        qCWarning(lcMail) << "no POP3 server is known; nothing to check";
        return false;
    }
    m_dialogue = Pop3Dialogue(m_user, m_password);
    m_running = true;
    m_deadline = m_clock.monotonicMs() + DialogueMs;
    m_timer->setInterval(TickMs);
    m_timer->start();

    auto* socket = new QSslSocket(this);
    m_socket = socket;
    socket->setSslConfiguration(m_ssl);
    connect(socket, &QSslSocket::readyRead, this, &Pop3Check::onReadyRead);
    connect(socket, &QSslSocket::encrypted, this, &Pop3Check::onEncrypted);
    connect(socket, &QSslSocket::errorOccurred, this, &Pop3Check::onSocketError);
    connect(socket, &QSslSocket::disconnected, this, &Pop3Check::onSocketError);
    connect(socket, &QSslSocket::sslErrors, this, [](const QList<QSslError>& errors) {
        for (const QSslError& e : errors)
            qCWarning(lcMail) << "TLS:" << e.errorString();
    });
    socket->connectToHost(m_host, m_port);
    return true;
}

void Pop3Check::stop() {
    if (!m_running)
        return;
    m_running = false;
    m_timer->stop();
    closeSocket(false);
}

void Pop3Check::tick() {
    if (!m_running || m_clock.monotonicMs() < m_deadline)
        return;
    if (!m_dialogue.isFinished()) {
        qCWarning(lcMail) << "POP3 server" << m_host << "did not finish within the time limit";
        m_dialogue.connectionLost();
    }
    end();
}

void Pop3Check::onReadyRead() {
    if (m_socket)
        apply(m_dialogue.received(m_socket->readAll()));
}

void Pop3Check::onEncrypted() {
    apply(m_dialogue.tlsReady());
}

void Pop3Check::onSocketError() {
    if (!m_socket)
        return;
    if (!m_dialogue.isFinished())
        qCWarning(lcMail) << "POP3 connection to" << m_host << "ended:" << m_socket->errorString();
    apply(m_dialogue.connectionLost());
}

void Pop3Check::apply(const Pop3Dialogue::Step& step) {
    if (!m_running || !m_socket)
        return;
    if (!step.send.isEmpty())
        m_socket->write(step.send);
    if (step.startTls) {
        if (!QSslSocket::supportsSsl()) {
            qCWarning(lcMail) << "the server offers TLS but no TLS backend is available";
            return apply(m_dialogue.tlsFailed());
        }
        m_socket->startClientEncryption();
    }
    if (step.announce) {
        m_deadline = m_clock.monotonicMs() + NoticeMs;
        Q_EMIT newMail(m_dialogue.count());
    }
    if (!step.finished)
        return;

    const Outcome outcome = m_dialogue.outcome();
    closeSocket(outcome == Outcome::NoMail || outcome == Outcome::NewMail);
    switch (outcome) {
    case Outcome::NewMail:
        return; // the notice stays until its deadline
    case Outcome::PasswordRefused:
        qCWarning(lcMail) << "POP3 server" << m_host << "refused the password";
        Q_EMIT passwordRequest();
        break;
    case Outcome::Refused:
        qCWarning(lcMail) << "POP3 server" << m_host << "refused the connection or user name";
        break;
    case Outcome::Failed:
        qCWarning(lcMail) << "POP3 check of" << m_host << "failed";
        break;
    case Outcome::NoMail:
    case Outcome::Running:
        break;
    }
    end();
}

void Pop3Check::closeSocket(bool graceful) {
    if (!m_socket)
        return;
    QSslSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    if (graceful) {
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
    } else {
        socket->abort();
        socket->deleteLater();
    }
}

void Pop3Check::end() {
    if (!m_running) // stopped by a receiver of an earlier signal
        return;
    m_running = false;
    m_timer->stop();
    closeSocket(false);
    Q_EMIT ended();
}
