// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailCheck.h"

#include "base/Clock.h"
#include "base/TickTimer.h"
#include "mail/DefaultAccount.h"
#include "mail/ImapDialogue.h"
#include "mail/MailCheckState.h"
#include "mail/Pop3Dialogue.h"
#include "platform/NetModule.h"

#include <utility>

#include <algorithm>

Q_LOGGING_CATEGORY(lcMail, "plumora.mail", QtCriticalMsg)

using Outcome = MailDialogue::Outcome;

MailCheck::MailCheck(const Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_ownTickTimer(std::make_unique<QtTickTimer>(m_ownTimer)),
      m_timer(m_ownTickTimer.get()) {
    // One wake-up at the deadline, on time: the limits are the user's seconds.
    m_ownTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_ownTimer, &QTimer::timeout, this, &MailCheck::tick);
}

MailCheck::~MailCheck() {
    stop();
}

void MailCheck::setAccount(const MailAccount& account, const QString& password) {
    m_account = account;
    m_account.server = account.server.trimmed();
    m_password = password;
    m_token.clear();
    m_useToken = false;
}

void MailCheck::setAccessToken(const QString& token) {
    m_token = token;
    m_useToken = true;
}

void MailCheck::setTimer(TickTimer* timer) {
    m_timer = timer ? timer : m_ownTickTimer.get();
}

Outcome MailCheck::outcome() const {
    return m_dialogue ? m_dialogue->outcome() : Outcome::Running;
}

int MailCheck::count() const {
    return m_dialogue ? m_dialogue->count() : 0;
}

bool MailCheck::start() {
    if (m_running)
        return true;
    if (m_account.server.isEmpty()) {
        qCWarning(lcMail) << "no mail server is known; nothing to check";
        return false;
    }
    m_port = accountPort(m_account);
    if (m_useToken) {
        const OAuthLogin login{m_account.user.trimmed().toUtf8(), m_token.toUtf8(),
                               m_account.server.toUtf8(), m_port};
        const QString refusal = OAuthSasl::refusal(login);
        if (!refusal.isEmpty()) {
            qCWarning(lcMail).noquote() << "no mail check of" << m_account.server << "-" << refusal;
            m_failure = tr("the sign-in was not sent: %1").arg(refusal);
            return false;
        }
        if (isImap())
            m_dialogue = std::make_unique<ImapDialogue>(login, m_account.security);
        else
            m_dialogue = std::make_unique<Pop3Dialogue>(login, m_account.security);
    } else if (isImap()) {
        m_dialogue = std::make_unique<ImapDialogue>(m_account.user, m_password, m_account.security);
    } else {
        m_dialogue = std::make_unique<Pop3Dialogue>(m_account.user, m_password, m_account.security);
    }
    m_certificateProblem.clear();
    m_failure.clear();
    // The network code is loaded at the first check.
    StreamSocket* socket = NetModule::streamSocket(this);
    if (!socket) {
        m_failure = NetModule::failure();
        qCWarning(lcMail).noquote() << "no mail check of" << m_account.server << "-" << m_failure;
        return false;
    }
    m_connected = false;
    m_running = true;
    setDeadline(m_clock.monotonicMs() + DialogueMs);

    m_socket = socket;
    if (m_authorities)
        socket->setAuthorities(*m_authorities);
    // Replies are read as they come; the dialogues keep no more than they may.
    socket->setReadBufferSize(MailDialogue::MaxBufferedBytes);
    StreamSocket::Events events;
    events.connected = [this] { m_connected = true; };
    events.readyRead = [this] { onReadyRead(); };
    events.encrypted = [this] { onEncrypted(); };
    events.ended = [this] { onSocketError(); };
    events.certificateRefused = [this](const QString& why) { onCertificateRefused(why); };
    socket->setEvents(std::move(events));
    if (m_account.security == MailSecurity::Tls) {
        if (!socket->supportsTls()) {
            qCWarning(lcMail) << "the account needs TLS but no TLS backend is available";
            m_failure = tr("no TLS support is available on this computer");
            apply(m_dialogue->tlsFailed());
            return true;
        }
        socket->connectTls(m_account.server, m_port);
    } else {
        socket->connectPlain(m_account.server, m_port);
    }
    return true;
}

void MailCheck::stop() {
    if (!m_running)
        return;
    m_running = false;
    m_timer->stop();
    closeSocket(false);
}

void MailCheck::setDeadline(qint64 deadline) {
    m_deadline = deadline;
    m_timer->setInterval(int(std::max<qint64>(0, m_deadline - m_clock.monotonicMs())));
    m_timer->start();
}

void MailCheck::tick() {
    if (!m_running)
        return;
    // A timer that came early is set again for the rest.
    if (m_clock.monotonicMs() < m_deadline)
        return setDeadline(m_deadline);
    if (!m_dialogue->isFinished()) {
        qCWarning(lcMail) << "mail server" << m_account.server
                          << "did not finish within the time limit";
        m_failure = m_connected
                        ? tr("%1:%2 did not answer within %3 seconds")
                              .arg(m_account.server)
                              .arg(m_port)
                              .arg(DialogueMs / 1000)
                        : MailTexts::notConnected(m_account.server, m_port, tr("timed out"));
        m_dialogue->connectionLost();
    }
    end();
}

void MailCheck::onReadyRead() {
    // On a connection that is TLS from the start, nothing is read before the handshake.
    while (m_socket && m_running && m_socket->bytesAvailable() > 0)
        apply(m_dialogue->received(m_socket->read(MailDialogue::MaxBufferedBytes)));
}

void MailCheck::onEncrypted() {
    if (m_account.security == MailSecurity::Tls) {
        onReadyRead();
        return;
    }
    apply(m_dialogue->tlsReady());
}

void MailCheck::onCertificateRefused(const QString& why) {
    m_certificateProblem = why;
    qCWarning(lcMail) << "TLS certificate of" << m_account.server
                      << "refused:" << m_certificateProblem;
}

void MailCheck::onSocketError() {
    if (!m_socket)
        return;
    if (!m_dialogue->isFinished())
        qCWarning(lcMail) << "connection to mail server" << m_account.server
                          << "ended:" << m_socket->errorString();
    const bool wasRunning = !m_dialogue->isFinished();
    const QString certificate = m_certificateProblem;
    if (wasRunning && m_failure.isEmpty()) {
        if (!certificate.isEmpty())
            m_failure = tr("the certificate of %1 was not accepted (%2)")
                            .arg(m_account.server, certificate);
        else if (!m_connected)
            m_failure = MailTexts::notConnected(m_account.server, m_port, m_socket->reason());
        else
            m_failure = tr("the connection to %1:%2 ended (%3)")
                            .arg(m_account.server)
                            .arg(m_port)
                            .arg(m_socket->reason());
    }
    const MailDialogue::Step step = m_dialogue->connectionLost();
    if (wasRunning && !certificate.isEmpty() && m_running) {
        Q_EMIT problem(tr("The mail server %1 could not be checked: its certificate "
                          "was not accepted (%2).")
                           .arg(m_account.server, certificate));
    }
    apply(step);
}

void MailCheck::apply(const MailDialogue::Step& step) {
    if (!m_running || !m_socket)
        return;
    if (!step.send.isEmpty())
        m_socket->write(step.send);
    if (step.startTls) {
        if (!m_socket->supportsTls()) {
            qCWarning(lcMail) << "the server offers TLS but no TLS backend is available";
            return apply(m_dialogue->tlsFailed());
        }
        m_socket->startTls();
    }
    if (step.announce) {
        setDeadline(m_clock.monotonicMs() + NoticeMs);
        Q_EMIT newMail(m_dialogue->count());
    }
    if (!step.finished)
        return;

    const Outcome outcome = m_dialogue->outcome();
    closeSocket(outcome == Outcome::NoMail || outcome == Outcome::NewMail);
    switch (outcome) {
    case Outcome::NewMail:
        return; // the notice stays until its deadline
    case Outcome::PasswordRefused:
        qCWarning(lcMail) << "mail server" << m_account.server << "refused the password";
        m_failure = tr("%1 refused the password of %2").arg(m_account.server, m_account.user);
        Q_EMIT passwordRequest();
        break;
    case Outcome::TlsUnavailable:
        qCWarning(lcMail) << "mail server" << m_account.server
                          << "offers no STARTTLS; the user name and password were not sent";
        m_failure = tr("%1 offers no secure connection (STARTTLS); the password "
                       "was not sent")
                        .arg(m_account.server);
        Q_EMIT problem(tr("The mail server %1 does not offer a secure connection "
                          "(STARTTLS), which the account requires. Your user name "
                          "and password were not sent.")
                           .arg(m_account.server));
        break;
    case Outcome::PasswordsDisabled:
        qCWarning(lcMail) << "mail server" << m_account.server << "takes no passwords";
        m_failure = tr("%1 takes no passwords; the account needs a sign-in through "
                       "GNOME Online Accounts")
                        .arg(m_account.server);
        Q_EMIT problem(MailTexts::passwordsDisabled(m_account.server));
        break;
    case Outcome::TokenRefused:
        qCWarning(lcMail) << "mail server" << m_account.server << "refused the access token";
        m_failure = tr("%1 refused the sign-in of %2").arg(m_account.server, m_account.user);
        break;
    case Outcome::OAuthUnavailable:
        qCWarning(lcMail) << "mail server" << m_account.server
                          << "offers no OAuth2 sign-in (XOAUTH2 or OAUTHBEARER)";
        m_failure = tr("%1 offers no OAuth2 sign-in").arg(m_account.server);
        break;
    case Outcome::Refused:
        qCWarning(lcMail) << "mail server" << m_account.server
                          << "refused the connection or user name";
        m_failure = tr("%1 refused the connection or the user name %2")
                        .arg(m_account.server, m_account.user);
        break;
    case Outcome::Failed:
        qCWarning(lcMail) << "mail check of" << m_account.server << "failed";
        if (m_failure.isEmpty())
            m_failure = tr("%1 gave an answer the check did not understand").arg(m_account.server);
        break;
    case Outcome::NoMail:
    case Outcome::Running:
        break;
    }
    end();
}

void MailCheck::closeSocket(bool graceful) {
    if (!m_socket)
        return;
    std::exchange(m_socket, nullptr)->close(graceful);
}

void MailCheck::end() {
    if (!m_running) // stopped by a receiver of an earlier signal
        return;
    m_running = false;
    m_timer->stop();
    closeSocket(false);
    Q_EMIT ended();
}
