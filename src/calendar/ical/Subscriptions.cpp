// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ical/Subscriptions.h"

#include "base/Clock.h"
#include "calendar/CalendarLog.h"
#include "calendar/EventStore.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/IcsImport.h"
#include "data/DataFile.h"
#include "platform/Downloader.h"
#include "platform/Loopback.h"

#include <QFile>

namespace SubscriptionRules {

QUrl fetchUrl(const QString& address) {
    QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https")
        return url;
    const bool local = isLoopbackHost(url.host());
    // Plain http only to the machine itself, whether typed as http:// or webcal://.
    if (scheme == u"http")
        return local ? url : QUrl();
    if (scheme != u"webcal")
        return {};
    url.setScheme(local ? QStringLiteral("http") : QStringLiteral("https"));
    return url;
}

bool isDue(const Subscription& s, const QDateTime& now) {
    return intervalPassed(s.lastRefresh, now, s.everyMinutes);
}

} // namespace SubscriptionRules

std::vector<Subscription> SubscriptionStore::all() {
    std::vector<Subscription> out;
    DataFile db(m_path, m_changes);
    const bool ok = db.forEach(
        QStringLiteral("SELECT ID, Name, Url, Every, LastRefresh, Failures FROM Subscriptions "
                       "ORDER BY ID"),
        {}, [&](DataFile::Row q) {
            Subscription s;
            s.id = q.value(0).toInt();
            s.name = q.value(1).toString();
            s.url = q.value(2).toString();
            s.everyMinutes = qMax(1, q.value(3).toInt());
            s.lastRefresh = EventStore::readStamp(q.value(4).toString());
            s.failures = q.value(5).toInt();
            out.push_back(std::move(s));
            return true;
        });
    m_error = ok ? QString() : db.lastError();
    return out;
}

int SubscriptionStore::add(const Subscription& s) {
    DataFile db(m_path, m_changes);
    const qint64 id =
        db.insert(QStringLiteral("INSERT INTO Subscriptions (Name, Url, Every) VALUES (?, ?, ?)"),
                  {s.name, s.url, s.everyMinutes});
    m_error = id > 0 ? QString() : db.lastError();
    return int(id);
}

bool SubscriptionStore::remove(int id) {
    DataFile db(m_path, m_changes);
    Transaction t(db);
    const bool ok = t.isActive() &&
                    db.exec(QStringLiteral("DELETE FROM Events WHERE Subscription = ?"), {id}) &&
                    db.exec(QStringLiteral("DELETE FROM Subscriptions WHERE ID = ?"), {id}) &&
                    t.commit();
    m_error = ok ? QString() : db.lastError();
    return ok;
}

int SubscriptionStore::eventCount(int id) {
    DataFile db(m_path, m_changes);
    int count = -1;
    const bool ok = db.forEach(QStringLiteral("SELECT COUNT(*) FROM Events WHERE Subscription = ?"),
                               {id}, [&](DataFile::Row q) {
                                   count = q.value(0).toInt();
                                   return false;
                               });
    m_error = ok ? QString() : db.lastError();
    return ok ? count : -1;
}

bool SubscriptionStore::recordRefresh(int id, const QDateTime& at, bool ok) {
    DataFile db(m_path, m_changes);
    const bool written = db.exec(
        ok ? QStringLiteral("UPDATE Subscriptions SET LastRefresh = ?, Failures = 0 WHERE ID = ?")
           : QStringLiteral("UPDATE Subscriptions SET LastRefresh = ?, Failures = Failures + 1 "
                            "WHERE ID = ?"),
        {EventStore::stampText(at), id});
    m_error = written ? QString() : db.lastError();
    return written;
}

SubscriptionRefresh::SubscriptionRefresh(const DataStores& stores, Clock& clock,
                                         Downloader& downloader, Tell tell, QObject* parent)
    : QObject(parent), m_store(stores.get<SubscriptionStore>()), m_events(stores.get<EventStore>()),
      m_clock(clock), m_downloader(downloader), m_tell(std::move(tell)) {}

const std::vector<Subscription>& SubscriptionRefresh::known(std::optional<qint64> given) {
    const qint64 stamp = given ? *given : fileModifiedStamp(m_store.dataFile());
    if (stamp < 0 || stamp != m_knownStamp) {
        m_known = m_store.all();
        ++m_reads;
        // A failed reading is tried again next time.
        m_knownStamp = m_store.lastError().isEmpty() ? stamp : -1;
        if (!m_store.lastError().isEmpty())
            qCWarning(lcCalendar) << "subscriptions not read:" << m_store.lastError();
    }
    return m_known;
}

bool SubscriptionRefresh::anyDue(const QDateTime& now, std::optional<qint64> stamp) {
    for (const Subscription& s : known(stamp))
        if (!m_running.contains(s.id) && SubscriptionRules::isDue(s, now))
            return true;
    return false;
}

bool SubscriptionRefresh::refreshDue(const QDateTime& now) {
    bool any = false;
    // A copy: a refresh that ends at once writes the file, and the list is read again.
    const std::vector<Subscription> list = known();
    for (const Subscription& s : list) {
        if (m_running.contains(s.id) || !SubscriptionRules::isDue(s, now))
            continue;
        refresh(s);
        any = true;
    }
    return any;
}

namespace {
const char NotAnAddress[] =
    QT_TRANSLATE_NOOP("SubscriptionRefresh", "the address is not an https:// or webcal:// address");

QString downloadError(const Download& d) {
    return d.tooLarge ? SubscriptionRefresh::tr("the calendar is larger than 20 MB") : d.error;
}
} // namespace

void SubscriptionRefresh::refresh(const Subscription& s) {
    const QUrl url = SubscriptionRules::fetchUrl(s.url);
    if (!url.isValid()) {
        arrived(s, tr(NotAnAddress));
        return;
    }
    m_running.insert(s.id);
    m_downloader.fetch(url, IcsImport::MaxBytes + 1, this, [this, s](const Download& d) {
        if (!d.ok())
            return arrived(s, downloadError(d));
        CalendarImport::readAside({d.body}, m_clock.today(), QTimeZone::systemTimeZone(), this,
                                  [this, s](const std::vector<IcsImport::Result>& reads) {
                                      arrived(s, store(s, reads.front()));
                                  });
    });
}

void SubscriptionRefresh::tryNew(const Subscription& s, QObject* receiver, Tried tried) {
    const QUrl url = SubscriptionRules::fetchUrl(s.url);
    if (!url.isValid())
        return tried(0, tr(NotAnAddress));
    m_downloader.fetch(url, IcsImport::MaxBytes + 1, receiver,
                       [this, s, receiver, tried](const Download& d) {
                           if (!d.ok())
                               return tried(0, downloadError(d));
                           CalendarImport::readAside(
                               {d.body}, m_clock.today(), QTimeZone::systemTimeZone(), receiver,
                               [this, s, tried](const std::vector<IcsImport::Result>& reads) {
                                   saveNew(s, reads.front(), tried);
                               });
                       });
}

void SubscriptionRefresh::saveNew(const Subscription& s, const IcsImport::Result& read,
                                  const Tried& tried) {
    if (!read.ok())
        return tried(0, read.error);
    Subscription added = s;
    added.id = m_store.add(s);
    if (added.id <= 0)
        return tried(0, tr("it could not be saved: %1").arg(m_store.lastError()));
    const QString why = store(added, read);
    if (!why.isEmpty()) {
        // What the first try could not read is not kept.
        if (!m_store.remove(added.id))
            qCWarning(lcCalendar) << "subscription" << s.name
                                  << "not removed:" << m_store.lastError();
        return tried(0, why);
    }
    if (!m_store.recordRefresh(added.id, m_clock.now(), true))
        qCWarning(lcCalendar) << "subscription" << s.name
                              << "refresh not recorded:" << m_store.lastError();
    tried(added.id, QString());
    Q_EMIT refreshed(added.id, true);
}

QString SubscriptionRefresh::store(const Subscription& s, const IcsImport::Result& read) {
    EventStore store = m_events; // the import sets its own "now"
    const ImportReport report =
        CalendarImport(store, m_clock.today(), m_clock.now()).store(read, s.name, s.id);
    if (report.ok())
        qCInfo(lcCalendar) << "subscription" << s.name << "refreshed:" << report.added << "added,"
                           << report.updated << "updated";
    return report.error;
}

void SubscriptionRefresh::arrived(const Subscription& s, const QString& why) {
    m_running.remove(s.id);
    const bool ok = why.isEmpty();
    if (!m_store.recordRefresh(s.id, m_clock.now(), ok))
        qCWarning(lcCalendar) << "subscription" << s.name
                              << "refresh not recorded:" << m_store.lastError();
    if (!ok) {
        qCWarning(lcCalendar) << "subscription" << s.name << "not refreshed:" << why;
        // Told once per streak of failures: the first one after a success.
        if (s.failures == 0 && m_tell) {
            const bool hasEvents = m_store.eventCount(s.id) > 0;
            m_tell((hasEvents ? tr("The calendar \"%1\" could not be refreshed, so its events "
                                   "stay as they were. Plumora will try again later.\n\n%2")
                              : tr("The calendar \"%1\" could not be refreshed. Plumora will try "
                                   "again later.\n\n%2"))
                       .arg(s.name, why));
        }
    }
    Q_EMIT refreshed(s.id, ok);
}

SubscriptionJob::SubscriptionJob(SubscriptionRefresh& refresh)
    : m_refresh(refresh), m_dataName(QFile::encodeName(refresh.dataFile())) {}

void SubscriptionJob::run(MinuteContext& minute) {
    if (!m_refresh.anyDue(minute.now, minute.fileState(m_dataName).modifiedNs) || !minute.online())
        return;
    m_refresh.refreshDue(minute.now);
}

SchemaPart SubscriptionStore::tables() {
    SchemaPart part;
    const QString create =
        QStringLiteral("CREATE TABLE Subscriptions ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT NOT NULL,"
                       " Url TEXT NOT NULL, Every INTEGER NOT NULL DEFAULT 1440,"
                       " LastRefresh TEXT, Failures INTEGER NOT NULL DEFAULT 0)");
    part.create = {create};
    // 2: calendars the user subscribed to (their rows in Events carry the ID).
    part.steps[2] = {createIfMissing(create)};
    return part;
}
