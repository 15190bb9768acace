// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/caldav/CalDavSync.h"
#include "core/DataStores.h"
#include "core/Jobs.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class Clock;
class SecretStore;

// The sync as the program runs it: the account from the data file, the password from the
// keyring (key "caldav"), one sync at a time, the result kept for the status line, and
// conflicts told once through `tell`.
class CalendarSync : public QObject {
    Q_OBJECT
public:
    static constexpr char Key[] = "caldav";
    // How long the sync waits for the keyring's answer before it gives up.
    static constexpr int KeyringWaitSecs = 30;
    using Tell = std::function<void(const QString& text)>;

    CalendarSync(const DataStores& stores, Clock& clock, SecretStore& secrets, Tell tell,
                 QObject* parent = nullptr);

    // Starts a sync unless one runs or no account is set; false when none started.
    bool syncNow();
    bool isRunning() const { return m_fetching || m_sync.isRunning(); }
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
    // The account as the data file holds it, read again only once the file changed (or
    // forgetAccount() was called): an idle minute opens nothing.
    const std::optional<CalDavAccount>& account();
    void forgetAccount() { m_accountStamp = -1; }
    // Ends the sync when the keyring has not answered the password read by `now`; the
    // minute job asks, and a timer of the same length does so between ticks.
    void checkKeyringWait(const QDateTime& now);

Q_SIGNALS:
    void started();
    void finished(const SyncOutcome& outcome);

private:
    void ended(const SyncOutcome& outcome);
    void keyringSilent();

    CalDavStore& m_store;
    Clock& m_clock;
    SecretStore& m_secrets;
    Tell m_tell;
    CalDavSync m_sync;
    bool m_fetching = false;
    quint64 m_read = 0; // counts password reads; a late answer to an abandoned one is dropped
    QDateTime m_readSince;
    QTimer m_readTimer;
    bool m_soon = false;
    bool m_edited = false; // events changed outside a sync since the last one
    std::optional<CalDavAccount> m_account;
    qint64 m_accountStamp = -1; // the data file's stamp when m_account was read; -1: read again
};

// The minute job: syncs every 5, 15 or 60 minutes as the account says, once shortly
// after start-up and after the user changed events, only when online and never while a
// sync runs.
class CalendarSyncJob final : public MinuteJob {
public:
    explicit CalendarSyncJob(CalendarSync& sync) : m_sync(sync) {}
    const char* name() const override { return "calendar sync"; }
    void run(MinuteContext& minute) override;

private:
    CalendarSync& m_sync;
    int m_ticks = 0;
};
