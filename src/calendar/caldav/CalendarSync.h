// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TickTimer.h"
#include "calendar/caldav/CalDavSync.h"
#include "data/DataStores.h"
#include "platform/KeyringMove.h"
#include "shell/Jobs.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class Clock;
class SecretStore;

// The sync as the program runs it: the account from the data file, the password from the
// keyring (key "caldav") or, when none was reachable as it was typed, from the data file, one sync
// at a time, the result kept for the status line, and through `tell` conflicts once, and a
// background sync's failure the user must mend (a refused certificate or password, no password
// stored) once until a sync works again, and the question when the server no longer lists
// many of the synced events; no sync runs until the user answered it.
class CalendarSync : public QObject {
    Q_OBJECT
public:
    static constexpr char Key[] = "caldav";
    // How long the sync waits for the keyring's answer before it gives up.
    static constexpr int KeyringWaitSecs = 30;
    // How long after start-up the first sync waits: start-up's own work comes first.
    static constexpr int StartupDelaySecs = 3;
    enum class Origin { Background, User };
    using Tell = std::function<void(const QString& text)>;

    CalendarSync(const DataStores& stores, Clock& clock, SecretStore& secrets, Tell tell,
                 QObject* parent = nullptr);

    // Starts a sync unless one runs or no account is set; false when none started. A sync
    // the user started tells its failures in the status line, not in a notice.
    bool syncNow(Origin origin = Origin::Background);
    bool isRunning() const { return m_fetching || m_sync.isRunning(); }
    // Ends a running sync (or its wait for the keyring) now; finished() follows.
    void cancel();
    // Where the question about withheld removals goes (a notice whose click opens Options,
    // say); unset, to `tell`.
    void setAsk(Tell ask) { m_ask = std::move(ask); }
    // The user's answer to removals the server asked for; a sync carries it out at once,
    // or, while one runs, at the next minute job. False when it could not be kept.
    bool answer(Withheld::Answer answer);
    // Puts back the events a mass removal deleted (CalDavStore::restoreKept) and syncs to
    // send them; the number put back, or -1.
    int restoreKept();
    // Asked for a sync at the next minute job.
    void requestSoon() { m_soon = true; }
    // The calendar's editor closed: when events changed since the last sync, one follows.
    void editorClosed() {
        if (m_edited)
            m_soon = true;
    }
    bool takeRequest() {
        const bool soon = m_soon;
        m_soon = false;
        return soon;
    }
    CalDavSync& engine() { return m_sync; }
    // The user cancelled the keyring's prompt for the password: only a sync the user starts
    // asks again.
    bool promptCancelled() const { return m_promptCancelled; }
    // The account as the data file holds it, read again only once the file changed (or
    // forgetAccount() was called): an idle minute opens nothing.
    // `stamp`: the data file's stamp where the caller already has it (a tick).
    const std::optional<CalDavAccount>& account(std::optional<qint64> stamp = std::nullopt);
    void forgetAccount() { m_accountStamp = -1; }
    // Whether the last reading of the account worked (a failed one is tried again).
    bool accountRead() const { return m_accountStamp >= 0; }
    // The data file the account is read from.
    const QString& dataFile() const { return m_store.dataFile(); }
    // Moves a password kept in the data file to the keyring; the column is blanked only
    // once the keyring confirms, and only if it still holds the same password.
    void moveToKeyring();
    KeyringMove& keyringMove() { return m_move; }
    // Ends the sync when the keyring has not answered the password read by `now`; the
    // minute job asks, and a timer of the same length does so between ticks.
    void checkKeyringWait(const QDateTime& now);

    // Start-up is over: a sync follows StartupDelaySecs later, when `online` says so, else
    // at the first minute job that finds the machine online; none for an account synced
    // only when the user clicks "Sync now".
    void syncAfterStartup(std::function<bool()> online);
    // What the start-up timer calls.
    void startupDelayPassed();
    // The sync after start-up is still to come; until then the minute job leaves it to the
    // timer, so start-up syncs once and only after its own work.
    bool startupPending() const { return m_startupTimer->isActive(); }
    // Tests hand in a timer on the fake clock; null goes back to the own one.
    void setStartupTimer(TickTimer* timer) { m_startupTimer = timer ? timer : &m_ownStartupTimer; }

Q_SIGNALS:
    void started();
    void finished(const SyncOutcome& outcome);

private:
    void ended(const SyncOutcome& outcome);
    void keyringSilent();
    void tellOnce(const SyncOutcome& outcome);
    // Tells the question about withheld removals, and where to answer it.
    void askAgain(const Withheld& withheld);

    CalDavStore& m_store;
    Clock& m_clock;
    SecretStore& m_secrets;
    Tell m_tell;
    Tell m_ask;
    CalDavSync m_sync;
    KeyringMove m_move;
    bool m_fetching = false;
    quint64 m_read = 0; // counts password reads; a late answer to an abandoned one is dropped
    QDateTime m_readSince;
    QTimer m_readTimer;
    QTimer m_startupQtTimer;
    QtTickTimer m_ownStartupTimer{m_startupQtTimer};
    TickTimer* m_startupTimer = &m_ownStartupTimer;
    std::function<bool()> m_online;
    Origin m_origin = Origin::Background;
    QString m_toldFailure; // the failure last told; empty once a sync worked
    bool m_soon = false;
    bool m_promptCancelled = false;
    bool m_edited = false; // events changed outside a sync since the last one
    std::optional<CalDavAccount> m_account;
    qint64 m_accountStamp = -1; // the data file's stamp when m_account was read; -1: read again
};

// The minute job: syncs every 5, 15 or 60 minutes as the account says and after the user
// changed events, only when online and never while a sync runs; an account synced only
// when the user clicks "Sync now" is never synced here.
class CalendarSyncJob final : public MinuteJob {
public:
    explicit CalendarSyncJob(CalendarSync& sync);
    const char* name() const override { return "calendar sync"; }
    void run(MinuteContext& minute) override;
    QDateTime nextNeeded(const MinuteContext& minute) const override;

private:
    CalendarSync& m_sync;
    QByteArray m_dataName;    // the data file's path as the file system spells it
    bool m_noAccount = false; // the last run read that there is no account, and nothing pending
};

// Once a day, and at the first tick, shows the user's events that repeat without end for
// the window of the day (CalDavStore::rollWindows), so that a daily event never ends. It
// waits while a sync runs, which may be sending an edit of such an event.
class RepeatWindowJob final : public MinuteJob {
public:
    RepeatWindowJob(CalDavStore& store, const CalendarSync& sync) : m_store(store), m_sync(sync) {}
    const char* name() const override { return "repeat window"; }
    void run(MinuteContext& minute) override;
    QDateTime nextNeeded(const MinuteContext& minute) const override;

private:
    CalDavStore& m_store;
    const CalendarSync& m_sync;
    QDate m_done; // the day the rows were last made for
};

// Moves a password left in the data file to the keyring and arms the sync that follows
// start-up, once the data file was checked and start-up's other work has run.
class CalendarSyncStartup final : public StartupJob {
public:
    CalendarSyncStartup(CalendarSync& sync, std::function<bool()> online)
        : m_sync(sync), m_online(std::move(online)) {}
    const char* name() const override { return "calendar sync after start-up"; }
    void run() override {
        m_sync.moveToKeyring();
        m_sync.syncAfterStartup(m_online);
    }

private:
    CalendarSync& m_sync;
    std::function<bool()> m_online;
};
