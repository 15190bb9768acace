// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mail/MailDialogue.h"
#include "platform/MailClient.h"

#include <QLoggingCategory>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class Clock;
class StreamSocket;
class TickTimer;

Q_DECLARE_LOGGING_CATEGORY(lcMail)

// One new-mail check on its asynchronous socket: connects (TLS from the start, or plain with
// the dialogue's upgrade), runs the POP3 or IMAP dialogue and tells the mail notice what to
// do. It also keeps the notice's time: the whole dialogue has 45 seconds, and once a count
// is announced the notice stays 15 seconds from then. Time is measured on the monotonic
// clock; the timer wakes the check only at its deadline. Certificates are checked against the
// configured authorities (the system's by default); one that fails is never accepted.
//
// Signals, each at most once: newMail(count) when the notice should show; passwordRequest()
// when the server refused the password; problem(text) when the user must act on something
// else (a certificate refused, no secure connection offered); ended() when the notice's
// life is over (always last, after a silent end, a refusal, a failure, the time limit, or
// the 15 seconds of a shown count). Receivers must not delete the check from a slot; use
// deleteLater().
class MailCheck : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 DialogueMs = 45000;
    static constexpr qint64 NoticeMs = 15000;

    explicit MailCheck(const Clock& clock, QObject* parent = nullptr);
    ~MailCheck() override;

    // The account to check; its port 0 means the usual port of its type and security.
    void setAccount(const MailAccount& account, const QString& password);
    // Signs in with this OAuth2 access token instead of a password (after setAccount).
    void setAccessToken(const QString& token);
    // Whom to trust instead of the system's authorities: PEM certificates. A server's
    // certificate is verified either way.
    void setAuthorities(const QByteArray& pem) { m_authorities = pem; }
    // Test seam: a timer the caller fires by calling tick(); by default an own QTimer.
    void setTimer(TickTimer* timer);

    // Connects and starts the clock. False, with no signal, when there is no server to ask.
    bool start();
    // A click on the notice or the program's exit: closes everything without signals.
    void stop();

    MailDialogue::Outcome outcome() const;
    int count() const;
    // Why a check that ended without getting through failed, for the Options mail group:
    // "could not connect to mail.example.org:993 (connection refused)"; empty otherwise.
    const QString& failure() const { return m_failure; }
    bool isRunning() const { return m_running; }
    bool isImap() const { return m_account.type == QLatin1String("imap"); }

public Q_SLOTS:
    // The timer's call: ends the check once its deadline has come.
    void tick();

Q_SIGNALS:
    void newMail(int count);
    void passwordRequest();
    void problem(const QString& text);
    void ended();

private:
    void onReadyRead();
    void onEncrypted();
    void onCertificateRefused(const QString& why);
    void onSocketError();
    void apply(const MailDialogue::Step& step);
    void closeSocket(bool graceful);
    void end();
    // Sets the timer for `deadline` (monotonic ms): the check sleeps until then.
    void setDeadline(qint64 deadline);

    const Clock& m_clock;
    MailAccount m_account;
    QString m_password;
    QString m_token;
    bool m_useToken = false;
    quint16 m_port = 0;
    std::optional<QByteArray> m_authorities;
    std::unique_ptr<MailDialogue> m_dialogue;
    StreamSocket* m_socket = nullptr; // closes and deletes itself
    QString m_certificateProblem;
    QString m_failure;
    bool m_connected = false;
    QTimer m_ownTimer;
    std::unique_ptr<TickTimer> m_ownTickTimer;
    TickTimer* m_timer = nullptr;
    qint64 m_deadline = 0; // monotonic ms
    bool m_running = false;
};
