// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/caldav/CalendarSync.h"

#include "base/Clock.h"
#include "calendar/CalendarLog.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"
#include "platform/SecretStore.h"

#include <QFile>

CalendarSync::CalendarSync(const DataStores& stores, Clock& clock, SecretStore& secrets, Tell tell,
                           QObject* parent)
    : QObject(parent), m_store(stores.get<CalDavStore>()), m_clock(clock), m_secrets(secrets),
      m_tell(std::move(tell)), m_sync(stores.get<CalDavStore>(), clock, this),
      m_move(secrets, QLatin1String(Key), QStringLiteral("calendar sync password"), lcCalendar,
             this) {
    connect(&m_sync, &CalDavSync::finished, this, &CalendarSync::ended);
    m_readTimer.setSingleShot(true);
    m_readTimer.setInterval(KeyringWaitSecs * 1000);
    connect(&m_readTimer, &QTimer::timeout, this, &CalendarSync::keyringSilent);
    connect(&m_startupQtTimer, &QTimer::timeout, this, &CalendarSync::startupDelayPassed);
    connect(&stores.changes, &ChangeHub::changed, this, [this](const QString& table) {
        if (table == u"Events" && !isRunning())
            m_edited = true;
        else if (table == u"CalDavAccount")
            forgetAccount();
    });
}

bool CalendarSync::syncNow(Origin origin) {
    if (isRunning())
        return false;
    const std::optional<CalDavAccount> account = m_store.account();
    // Paused until the user answers the question about the server's removals.
    if (!account || !account->configured() || account->withheld.pending())
        return false;
    m_edited = false;
    m_origin = origin;
    // A password kept in the data file (no keyring when it was typed) needs no keyring.
    if (!account->password.isEmpty()) {
        Q_EMIT started();
        m_sync.start(*account, account->password);
        return true;
    }
    m_fetching = true;
    Q_EMIT started();
    const quint64 read = ++m_read;
    m_readSince = m_clock.now();
    m_readTimer.start();
    m_secrets.read(
        QLatin1String(Key), this, [this, read, a = *account](const SecretStore::Result& r) {
            if (!m_fetching || read != m_read) {
                qCWarning(lcCalendar)
                    << "calendar sync: the keyring answered after the sync gave up";
                return;
            }
            m_fetching = false;
            m_readTimer.stop();
            if (r.status != SecretStore::Status::Done) {
                SyncOutcome o;
                o.userMustAct = r.status == SecretStore::Status::NotFound;
                // A prompt the user dismissed is not raised again by the background syncs.
                m_promptCancelled = r.status == SecretStore::Status::Cancelled;
                // The English "Stopped: " marks a failure (see CalDavSync::end).
                o.status = QStringLiteral("Stopped: ") +
                           (r.status == SecretStore::Status::NotFound
                                ? tr("no password is stored; type it in Options")
                            : m_promptCancelled
                                ? tr("the keyring's password prompt was cancelled")
                                : tr("the keyring could not be read (%1)")
                                      .arg(r.error.isEmpty() ? tr("no keyring") : r.error));
                return ended(o);
            }
            m_promptCancelled = false;
            m_sync.start(a, r.secret);
        });
    return true;
}

void CalendarSync::moveToKeyring() {
    const std::optional<CalDavAccount> account = m_store.account();
    if (!account || account->password.isEmpty())
        return;
    m_move.start(account->password, [this](const QString& password, bool& blanked) {
        return m_store.blankPassword(password, blanked);
    });
}

void CalendarSync::checkKeyringWait(const QDateTime& now) {
    if (m_fetching && m_readSince.secsTo(now) >= KeyringWaitSecs)
        keyringSilent();
}

void CalendarSync::cancel() {
    if (m_sync.isRunning())
        return m_sync.cancel();
    if (!m_fetching)
        return;
    m_fetching = false;
    m_readTimer.stop();
    SyncOutcome o;
    o.status = QStringLiteral("Stopped: ") + tr("the sync was cancelled");
    ended(o);
}

void CalendarSync::keyringSilent() {
    if (!m_fetching)
        return;
    m_fetching = false;
    m_readTimer.stop();
    qCWarning(lcCalendar) << "calendar sync: no answer from the keyring in" << KeyringWaitSecs
                          << "s";
    SyncOutcome o;
    o.status = QStringLiteral("Stopped: ") + tr("the keyring did not answer");
    ended(o);
}

void CalendarSync::ended(const SyncOutcome& outcome) {
    const qint64 before = fileModifiedStamp(m_store.dataFile());
    m_store.recordResult(m_clock.now(), outcome.status, outcome.sent, outcome.received, outcome.ok);
    m_sync.noteOwnWrite(before, fileModifiedStamp(m_store.dataFile()));
    if (outcome.conflicts > 0 && m_tell)
        m_tell(tr("Changed both here and on the server, so kept twice; this "
                  "computer's version is now:\n%1")
                   .arg(outcome.conflictTexts.join(u'\n')));
    if (outcome.withheld.pending()) {
        // The user who clicked "Sync now" finds the question beside the status line.
        if (m_origin == Origin::Background)
            askAgain(outcome.withheld);
    } else {
        tellOnce(outcome);
    }
    Q_EMIT finished(outcome);
}

void CalendarSync::askAgain(const Withheld& withheld) {
    if (const Tell& ask = m_ask ? m_ask : m_tell)
        ask(tr("%1\nCalendar sync waits for your answer in Options, \"Calendar sync\".")
                .arg(CalDavSync::question(withheld)));
}

bool CalendarSync::answer(Withheld::Answer answer) {
    if (!m_store.answerWithheld(answer))
        return false;
    forgetAccount();
    if (!syncNow(Origin::User))
        requestSoon();
    return true;
}

int CalendarSync::restoreKept() {
    const int events = m_store.restoreKept(m_clock.now());
    if (events > 0 && !syncNow(Origin::User))
        requestSoon();
    return events;
}

void CalendarSync::tellOnce(const SyncOutcome& outcome) {
    if (outcome.ok) {
        m_toldFailure.clear();
        return;
    }
    // The user who clicked "Sync now" reads it in the status line.
    if (!outcome.userMustAct || m_origin == Origin::User || outcome.status == m_toldFailure)
        return;
    m_toldFailure = outcome.status;
    if (m_tell)
        m_tell(tr("Calendar sync stopped: %1.\nCheck the account in Options, "
                  "\"Calendar sync\"; Plumora tries again at the next sync.")
                   .arg(outcome.status.mid(outcome.status.indexOf(u':') + 1).trimmed()));
}

void CalendarSync::syncAfterStartup(std::function<bool()> online) {
    m_online = std::move(online);
    m_startupTimer->setInterval(StartupDelaySecs * 1000);
    m_startupTimer->start();
}

void CalendarSync::startupDelayPassed() {
    m_startupTimer->stop();
    if (isRunning())
        return;
    const std::optional<CalDavAccount>& a = account();
    // "Only when I click Sync now": nothing syncs by itself, start-up included.
    if (!a || !a->configured() || a->everyMinutes <= 0)
        return;
    // Paused before the program last ended: the question is put again, once.
    if (a->withheld.pending())
        return askAgain(a->withheld);
    if (m_online && !m_online())
        return requestSoon();
    syncNow();
}

const std::optional<CalDavAccount>& CalendarSync::account(std::optional<qint64> given) {
    const qint64 stamp = given ? *given : fileModifiedStamp(m_store.dataFile());
    if (stamp < 0 || stamp != m_accountStamp) {
        m_account = m_store.account();
        // A failed reading is tried again next time.
        m_accountStamp = m_store.lastError().isEmpty() ? stamp : -1;
    }
    return m_account;
}

void RepeatWindowJob::run(MinuteContext& minute) {
    const QDate today = minute.now.date();
    if (today == m_done || m_sync.isRunning())
        return;
    const qint64 before = fileModifiedStamp(m_store.dataFile());
    int rolled = 0;
    if (!m_store.rollWindows(today, minute.now, QTimeZone::systemTimeZone(), &rolled))
        return; // logged by the store; tried again at the next tick
    m_done = today;
    if (rolled > 0) {
        qCInfo(lcCalendar) << "repeating events shown for a later window:" << rolled;
        minute.wroteOwnData(before, fileModifiedStamp(m_store.dataFile()));
    }
}

QDateTime RepeatWindowJob::nextNeeded(const MinuteContext& minute) const {
    if (m_done != minute.now.date())
        return {};
    // Midnight at the tick's offset; a change of offset wakes every job.
    return QDateTime(m_done.addDays(1), QTime(0, 0), Qt::OffsetFromUTC, minute.now.offsetFromUtc());
}

CalendarSyncJob::CalendarSyncJob(CalendarSync& sync)
    : m_sync(sync), m_dataName(QFile::encodeName(sync.dataFile())) {}

void CalendarSyncJob::run(MinuteContext& minute) {
    m_noAccount = false;
    m_sync.checkKeyringWait(minute.now);
    if (m_sync.isRunning() || m_sync.startupPending() || m_sync.promptCancelled())
        return;
    const std::optional<CalDavAccount>& account =
        m_sync.account(minute.fileState(m_dataName).modifiedNs);
    if (!account || !account->configured()) {
        m_noAccount = m_sync.accountRead();
        return;
    }
    // A sync asked for after an edit waits for the user's click when they sync by hand.
    const bool asked = m_sync.takeRequest() && account->everyMinutes > 0;
    const bool due = account->everyMinutes > 0 &&
                     intervalPassed(account->lastSync, minute.now, account->everyMinutes);
    if (!asked && !due)
        return;
    if (!minute.online()) {
        if (asked)
            m_sync.requestSoon();
        return;
    }
    m_sync.syncNow();
}

QDateTime CalendarSyncJob::nextNeeded(const MinuteContext&) const {
    // An account comes only with a write to the data file, which wakes every job.
    return m_noAccount ? untilChanged() : QDateTime();
}
