#pragma once

#include "mail/Pop3Dialogue.h"

#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QTimer>

#include <memory>

class Clock;
class QSslSocket;
class TickTimer;

Q_DECLARE_LOGGING_CATEGORY(lcMail)

// One new-mail check on its asynchronous socket: connects, runs the POP3 dialogue and tells
// the mail notice what to do. It also keeps the notice's time: the whole dialogue has 45
// seconds, and once a count is announced the notice stays 15 seconds from then. Time is
// measured on the monotonic clock, checked every second.
//
// Signals, each at most once: newMail(count) when the notice should show; passwordRequest()
// when the server refused the password; ended() when the notice's life is over (always
// last, after a silent end, a refusal, a failure, the time limit, or the 15 seconds of a
// shown count). Receivers must not delete the check from a slot; use deleteLater().
class Pop3Check : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 110;
    static constexpr qint64 DialogueMs = 45000;
    static constexpr qint64 NoticeMs = 15000;
    static constexpr int TickMs = 1000;

    explicit Pop3Check(const Clock& clock, QObject* parent = nullptr);
    ~Pop3Check() override;

    void setServer(const QString& host, quint16 port = DefaultPort);
    void setAccount(const QString& user, const QString& password);
    // Whom to trust for the TLS upgrade; by default the system's authorities, peer verified.
    void setSslConfiguration(const QSslConfiguration& config);
    // Test seam: a timer the caller fires by calling tick(); by default an own QTimer.
    void setTimer(TickTimer* timer);

    // Connects and starts the clock. False, with no signal, when there is no server to ask.
    bool start();
    // A click on the notice or the program's exit: closes everything without signals.
    void stop();

    Pop3Dialogue::Outcome outcome() const { return m_dialogue.outcome(); }
    int count() const { return m_dialogue.count(); }
    bool isRunning() const { return m_running; }

public Q_SLOTS:
    // Every second: ends the check once its deadline has come.
    void tick();

Q_SIGNALS:
    void newMail(int count);
    void passwordRequest();
    void ended();

private:
    void onReadyRead();
    void onEncrypted();
    void onSocketError();
    void apply(const Pop3Dialogue::Step& step);
    void closeSocket(bool graceful);
    void end();

    const Clock& m_clock;
    QString m_host;
    quint16 m_port = DefaultPort;
    QString m_user;
    QString m_password;
    QSslConfiguration m_ssl;
    Pop3Dialogue m_dialogue{{}, {}};
    QPointer<QSslSocket> m_socket;
    QTimer m_ownTimer;
    std::unique_ptr<TickTimer> m_ownTickTimer;
    TickTimer* m_timer = nullptr;
    qint64 m_deadline = 0; // monotonic ms
    bool m_running = false;
};
