// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/caldav/CalDavStore.h"

#include "calendar/CalendarLog.h"
#include "calendar/EventStore.h"
#include "calendar/ical/EventPatch.h"
#include "calendar/ical/IcsImport.h"
#include "data/DataFile.h"
#include "data/DateText.h"

#include <QCryptographicHash>
#include <QSet>

#include <algorithm>

namespace {

QVariant text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

QVariant stampOrNull(const QDateTime& t) {
    return t.isValid() ? QVariant(EventStore::stampText(t))
                       : QVariant(QMetaType::fromType<QString>());
}

// The user's rows of one UID, pictures included, in table order.
std::vector<EventRow> rowsOf(DataFile& db, const QString& uid, bool& ok) {
    std::vector<EventRow> rows;
    ok = ok && db.forEach(QStringLiteral("SELECT eDate, Description, Frequency, IconImg, SmallImg "
                                         "FROM Events WHERE UID = ? AND Holiday = 0 AND "
                                         "Subscription = 0 ORDER BY rowid"),
                          {uid}, [&](DataFile::Row q) {
                              EventRow r;
                              r.eDate = DateText::toDate(q.value(0));
                              r.description = q.value(1).toString();
                              r.frequency = q.value(2).toInt();
                              r.iconImg = q.value(3).toByteArray();
                              r.smallImg = q.value(4).toByteArray();
                              r.uid = uid;
                              rows.push_back(std::move(r));
                              return true;
                          });
    return rows;
}

// Replaces the user's rows of `uid` by `rows`; the first old row's pictures stay with the
// event, since the server keeps none.
bool replaceRows(DataFile& db, const QString& uid, const std::vector<EventRow>& old,
                 const std::vector<EventRow>& rows, const QDateTime& now) {
    bool ok = db.exec(QStringLiteral("DELETE FROM Events WHERE UID = ? AND Holiday = 0 AND "
                                     "Subscription = 0"),
                      {uid});
    const QByteArray icon = old.empty() ? QByteArray() : old.front().iconImg;
    const QByteArray small = old.empty() ? QByteArray() : old.front().smallImg;
    const auto blob = [](const QByteArray& b) {
        return b.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(b);
    };
    for (const EventRow& r : rows)
        ok = ok && db.exec(QStringLiteral("INSERT INTO Events (eDate, Description, IconImg, "
                                          "SmallImg, Frequency, Holiday, UID, Subscription, "
                                          "LastModified) VALUES (?, ?, ?, ?, ?, 0, ?, 0, ?)"),
                           {DateText::fromDate(r.eDate), text(r.description), blob(icon),
                            blob(small), r.frequency, uid, EventStore::stampText(now)});
    return ok && db.exec(QStringLiteral("DELETE FROM EventTombstones WHERE UID = ?"), {uid});
}

// Whether the rows of a series made for the window of `today` reach far enough past those
// stored to be written: the window moves in steps of about a month, not every day.
bool windowMoved(const std::vector<EventRow>& stored, const std::vector<EventRow>& made,
                 const QDate& today) {
    constexpr int StepDays = 30;
    const auto [oldFirst, oldLast] =
        std::minmax_element(stored.begin(), stored.end(),
                            [](const EventRow& a, const EventRow& b) { return a.eDate < b.eDate; });
    QDate newLast;
    for (const EventRow& r : made)
        newLast = std::max(newLast, r.eDate);
    return oldFirst->eDate < IcsImport::windowStart(today).addDays(-StepDays) ||
           newLast > oldLast->eDate.addDays(StepDays) || newLast < oldLast->eDate;
}

bool upsert(DataFile& db, const CalDavRecord& r) {
    return db.exec(QStringLiteral("INSERT OR REPLACE INTO CalDavEvents (Href, UID, ETag, Hash) "
                                  "VALUES (?, ?, ?, ?)"),
                   {r.href, text(r.uid), text(r.etag), text(r.hash)});
}

} // namespace

CalDavStore::CalDavStore(QString dataFile, ChangeHub* changes)
    : DataStore(std::move(dataFile), lcCalendar, changes) {}

std::optional<CalDavAccount> CalDavStore::account() {
    DataFile db = open();
    CalDavAccount a;
    const bool ok = db.forEach(
        QStringLiteral("SELECT Server, User, Calendar, CalendarName, SyncToken, Every, LastSync, "
                       "LastResult, Sent, Received, Password, LastSuccess, w.Removals, w.Synced, "
                       "w.Answer FROM CalDavAccount a LEFT JOIN CalDavWithheld w ON w.ID = 1 "
                       "WHERE a.ID = 1"),
        {}, [&](DataFile::Row q) {
            a.server = q.value(0).toString();
            a.user = q.value(1).toString();
            a.calendar = q.value(2).toString();
            a.calendarName = q.value(3).toString();
            a.syncToken = q.value(4).toString();
            a.everyMinutes = q.value(5).toInt();
            a.lastSync = EventStore::readStamp(q.value(6).toString());
            a.lastResult = q.value(7).toString();
            a.sent = q.value(8).toInt();
            a.received = q.value(9).toInt();
            a.password = q.value(10).toString();
            a.lastSuccess = EventStore::readStamp(q.value(11).toString());
            a.withheld.removals = q.value(12).toInt();
            a.withheld.synced = q.value(13).toInt();
            const QString answer = q.value(14).toString();
            a.withheld.answer = answer == u"delete" ? Withheld::Answer::Delete
                                : answer == u"keep" ? Withheld::Answer::Keep
                                                    : Withheld::Answer::None;
            return false;
        });
    if (!ok) {
        fail(QStringLiteral("reading the calendar sync account"), db.lastError());
        return std::nullopt;
    }
    return a;
}

bool CalDavStore::saveAccount(const CalDavAccount& a) {
    const std::optional<CalDavAccount> before = account();
    if (!before)
        return false;
    DataFile db = open();
    Transaction t(db);
    bool ok = t.isActive() &&
              db.exec(QStringLiteral("INSERT OR IGNORE INTO CalDavAccount (ID) VALUES (1)")) &&
              db.exec(QStringLiteral("UPDATE CalDavAccount SET Server = ?, User = ?, Calendar = ?, "
                                     "CalendarName = ?, Every = ? WHERE ID = 1"),
                      {text(a.server), text(a.user), text(a.calendar), text(a.calendarName),
                       a.everyMinutes});
    if (before->server != a.server || before->calendar != a.calendar)
        ok = ok &&
             db.exec(QStringLiteral("UPDATE CalDavAccount SET SyncToken = '' WHERE ID = 1")) &&
             db.exec(QStringLiteral("DELETE FROM CalDavEvents")) &&
             db.exec(QStringLiteral("DELETE FROM CalDavWithheld"));
    if (!ok || !t.commit())
        return fail(QStringLiteral("saving the calendar sync account"), db.lastError());
    return true;
}

bool CalDavStore::savePassword(const QString& password) {
    DataFile db = open();
    Transaction t(db);
    if (!t.isActive() ||
        !db.exec(QStringLiteral("INSERT OR IGNORE INTO CalDavAccount (ID) VALUES (1)")) ||
        !db.exec(QStringLiteral("UPDATE CalDavAccount SET Password = ? WHERE ID = 1"),
                 {text(password)}) ||
        !t.commit())
        return fail(QStringLiteral("saving the calendar sync password"), db.lastError());
    return true;
}

bool CalDavStore::blankPassword(const QString& password, bool& blanked) {
    blanked = false;
    DataFile db = open();
    // One statement: a password typed anew meanwhile is left for the next move.
    const int changed = db.change(QStringLiteral("UPDATE CalDavAccount SET Password = '' "
                                                 "WHERE ID = 1 AND Password = ?"),
                                  {text(password)});
    if (changed < 0)
        return fail(QStringLiteral("clearing the calendar sync password"), db.lastError());
    blanked = changed > 0;
    return true;
}

bool CalDavStore::recordResult(const QDateTime& at, const QString& result, int sent, int received,
                               bool ok) {
    DataFile db = open();
    // A failed attempt leaves the last success as it was.
    if (!db.exec(QStringLiteral("UPDATE CalDavAccount SET LastSync = ?, LastResult = ?, Sent = ?, "
                                "Received = ?, LastSuccess = CASE WHEN ? THEN ? ELSE LastSuccess "
                                "END WHERE ID = 1"),
                 {stampOrNull(at), text(result), sent, received, ok, stampOrNull(at)}))
        return fail(QStringLiteral("recording the calendar sync"), db.lastError());
    return true;
}

bool CalDavStore::withhold(int removals, int synced) {
    DataFile db = open();
    return db.exec(QStringLiteral("INSERT OR REPLACE INTO CalDavWithheld (ID, Removals, Synced, "
                                  "Answer) VALUES (1, ?, ?, '')"),
                   {removals, synced}) ||
           fail(QStringLiteral("pausing the calendar sync"), db.lastError());
}

bool CalDavStore::answerWithheld(Withheld::Answer answer) {
    DataFile db = open();
    const QString text = answer == Withheld::Answer::Delete ? QStringLiteral("delete")
                         : answer == Withheld::Answer::Keep ? QStringLiteral("keep")
                                                            : QStringLiteral("");
    return db.exec(QStringLiteral("UPDATE CalDavWithheld SET Answer = ? WHERE ID = 1"), {text}) ||
           fail(QStringLiteral("keeping the answer to the calendar sync"), db.lastError());
}

bool CalDavStore::settleWithheld() {
    DataFile db = open();
    return db.exec(QStringLiteral("DELETE FROM CalDavWithheld")) ||
           fail(QStringLiteral("resuming the calendar sync"), db.lastError());
}

KeptCopy CalDavStore::keptCopy() {
    KeptCopy copy;
    DataFile db = open();
    if (!db.forEach(QStringLiteral("SELECT COUNT(DISTINCT UID), MAX(Kept) FROM CalDavKept"), {},
                    [&](DataFile::Row q) {
                        copy.events = q.value(0).toInt();
                        copy.at = EventStore::readStamp(q.value(1).toString());
                        return false;
                    }))
        fail(QStringLiteral("reading the events kept from the calendar sync"), db.lastError());
    return copy;
}

int CalDavStore::restoreKept(const QDateTime& now) {
    DataFile db = open();
    Transaction t(db);
    // The UIDs put back, for their tombstones; an event that is here again stays as it is.
    const QString back =
        QStringLiteral("SELECT DISTINCT UID FROM CalDavKept WHERE UID NOT IN (SELECT UID FROM "
                       "Events WHERE UID IS NOT NULL AND Holiday = 0 AND Subscription = 0)");
    int events = 0;
    bool ok = t.isActive() && db.forEach(back, {}, [&](DataFile::Row) {
        ++events;
        return true;
    });
    ok = ok && db.exec(QStringLiteral("DELETE FROM EventTombstones WHERE UID IN (") + back + u')');
    ok = ok && db.exec(QStringLiteral("INSERT INTO Events (eDate, Description, IconImg, SmallImg, "
                                      "Frequency, Holiday, UID, Subscription, LastModified) "
                                      "SELECT eDate, Description, IconImg, SmallImg, Frequency, "
                                      "0, UID, 0, ? FROM CalDavKept WHERE UID IN (") +
                           back + QStringLiteral(") ORDER BY rowid"),
                       {EventStore::stampText(now)});
    ok = ok && db.exec(QStringLiteral("DELETE FROM CalDavKept"));
    if (!ok || !t.commit()) {
        fail(QStringLiteral("restoring the events kept from the calendar sync"), db.lastError());
        return -1;
    }
    return events;
}

std::vector<CalDavRecord> CalDavStore::records() {
    std::vector<CalDavRecord> out;
    m_error.clear();
    DataFile db = open();
    if (!db.forEach(QStringLiteral("SELECT Href, UID, ETag, Hash FROM CalDavEvents"), {},
                    [&](DataFile::Row q) {
                        out.push_back({q.value(0).toString(), q.value(1).toString(),
                                       q.value(2).toString(), q.value(3).toString()});
                        return true;
                    }))
        fail(QStringLiteral("reading the synced events"), db.lastError());
    return out;
}

bool CalDavStore::saveRecord(const CalDavRecord& r) {
    DataFile db = open();
    // One record per UID: an event sent anew under another name replaces the old one.
    Transaction t(db);
    const bool ok = t.isActive() &&
                    (r.uid.isEmpty() ||
                     db.exec(QStringLiteral("DELETE FROM CalDavEvents WHERE UID = ? AND Href <> ?"),
                             {r.uid, r.href})) &&
                    upsert(db, r) && t.commit();
    return ok || fail(QStringLiteral("recording a synced event"), db.lastError());
}

QHash<QString, KeptEvent> CalDavStore::keptEvents() {
    EventStore events(dataFile());
    QHash<QString, KeptEvent> out = events.keptEvents();
    m_error = events.lastError();
    return out;
}

bool CalDavStore::keep(const KeptEvent& event) {
    DataFile db = open();
    return EventStore::keep(db, event) ||
           fail(QStringLiteral("keeping a synced event"), db.lastError());
}

bool CalDavStore::forgetRecord(const QString& href) {
    DataFile db = open();
    return db.exec(QStringLiteral("DELETE FROM CalDavEvents WHERE Href = ?"), {href}) ||
           fail(QStringLiteral("forgetting a synced event"), db.lastError());
}

bool CalDavStore::forgetToken() {
    DataFile db = open();
    return db.exec(QStringLiteral("UPDATE CalDavAccount SET SyncToken = '' WHERE ID = 1")) ||
           fail(QStringLiteral("forgetting the sync token"), db.lastError());
}

QHash<QString, std::vector<EventRow>> CalDavStore::localEvents() {
    QHash<QString, std::vector<EventRow>> out;
    m_error.clear();
    DataFile db = open();
    if (!db.forEach(QStringLiteral("SELECT UID, eDate, Description, Frequency FROM Events WHERE "
                                   "Holiday = 0 AND Subscription = 0 AND UID IS NOT NULL "
                                   "ORDER BY rowid"),
                    {}, [&](DataFile::Row q) {
                        EventRow r;
                        r.uid = q.value(0).toString();
                        r.eDate = DateText::toDate(q.value(1));
                        r.description = q.value(2).toString();
                        r.frequency = q.value(3).toInt();
                        if (r.eDate.isValid() && !r.uid.isEmpty())
                            out[r.uid].push_back(std::move(r));
                        return true;
                    }))
        fail(QStringLiteral("reading the events to sync"), db.lastError());
    return out;
}

QStringList CalDavStore::tombstones() {
    QStringList out;
    m_error.clear();
    DataFile db = open();
    if (!db.forEach(QStringLiteral("SELECT UID FROM EventTombstones"), {}, [&](DataFile::Row q) {
            out << q.value(0).toString();
            return true;
        }))
        fail(QStringLiteral("reading the deleted events"), db.lastError());
    return out;
}

QString CalDavStore::hash(const std::vector<EventRow>& rows) {
    if (rows.empty())
        return {};
    QStringList lines;
    for (const EventRow& r : rows)
        lines << DateText::fromDate(r.eDate) + u'|' + QString::number(r.frequency) + u'|' +
                     r.description;
    lines.sort();
    return QString::fromLatin1(
        QCryptographicHash::hash(lines.join(u'\n').toUtf8(), QCryptographicHash::Sha1).toHex());
}

bool CalDavStore::apply(const std::vector<ServerEvent>& events, const QStringList& removed,
                        const std::optional<QString>& token, const QDate& today,
                        const QDateTime& now, ApplyCounts& counts, const QTimeZone& zone,
                        Removal removal) {
    DataFile db = open();
    Transaction t(db);
    bool ok = t.isActive();
    // The records as they stand, by href and by UID.
    QHash<QString, CalDavRecord> byHref;
    QHash<QString, QString> hrefOfUid;
    ok = ok && db.forEach(QStringLiteral("SELECT Href, UID, ETag, Hash FROM CalDavEvents"), {},
                          [&](DataFile::Row q) {
                              CalDavRecord r{q.value(0).toString(), q.value(1).toString(),
                                             q.value(2).toString(), q.value(3).toString()};
                              if (!r.uid.isEmpty())
                                  hrefOfUid.insert(r.uid, r.href);
                              byHref.insert(r.href, r);
                              return true;
                          });
    const auto save = [&](const CalDavRecord& r) {
        if (!r.uid.isEmpty()) {
            const QString old = hrefOfUid.value(r.uid);
            if (!old.isEmpty() && old != r.href) {
                ok =
                    ok && db.exec(QStringLiteral("DELETE FROM CalDavEvents WHERE Href = ?"), {old});
                byHref.remove(old);
            }
            hrefOfUid.insert(r.uid, r.href);
        }
        byHref.insert(r.href, r);
        ok = ok && upsert(db, r);
    };
    ApplyCounts c;
    // One batch makes at most IcsImport::MaxRowsPerBatch rows.
    int rowsLeft = IcsImport::MaxRowsPerBatch;
    for (const ServerEvent& e : events) {
        if (!ok)
            break;
        const auto known = byHref.constFind(e.href);
        if (known != byHref.cend() && !e.etag.isEmpty() && known->etag == e.etag)
            continue; // already as the server holds it
        IcsImport::Result read = e.read ? *e.read : IcsImport::read(e.ics, today, zone, rowsLeft);
        // Read beforehand: its event fits in the rows the batch has left, or is left out.
        if (e.read && read.ok() && !read.events.empty() &&
            int(read.events.front().rows.size()) > rowsLeft)
            read.notes.overBudget = 1;
        if (read.ok() && read.notes.overBudget) {
            // Not recorded, so a later full listing fetches it again.
            qCWarning(lcCalendar) << "calendar sync: left out" << e.href
                                  << "- the batch has made its most rows";
            ++c.skipped;
            continue;
        }
        if (!read.ok() || read.events.empty()) {
            qCWarning(lcCalendar) << "calendar sync: skipped" << e.href << "-"
                                  << (read.ok() ? QStringLiteral("it holds no event") : read.error);
            ++c.skipped;
            save({e.href, QString(), e.etag, QString()});
            continue;
        }
        if (read.events.size() > 1)
            qCWarning(lcCalendar) << "calendar sync:" << e.href << "holds" << read.events.size()
                                  << "events; only the first is kept";
        const IcsImport::Event& event = read.events.front();
        rowsLeft -= int(event.rows.size());
        std::vector<EventRow> serverRows = event.rows;
        const QString serverHash = hash(serverRows);
        const QString uid = event.uid;
        const std::vector<EventRow> local = rowsOf(db, uid, ok);
        const QString localHash = hash(local);
        const QString recordHref = hrefOfUid.value(uid);
        const std::optional<CalDavRecord> record =
            recordHref.isEmpty() ? std::nullopt : std::optional(byHref.value(recordHref));
        CalDavRecord next{e.href, uid, e.etag, serverHash};
        // The server's event is kept whole, so an edit here changes only what was edited.
        ok = ok && EventStore::keep(db, {uid, event.component, serverRows});
        if (!local.empty()) {
            if (localHash == serverHash) {
                save(next);
                continue;
            }
            if (!record || record->hash != localHash) {
                // Changed on both sides: the local version becomes an event of its own, to
                // be sent as new; the server's takes the UID.
                ok = ok && db.exec(QStringLiteral("UPDATE Events SET UID = ?, Description = "
                                                  "Description || ?, LastModified = ? WHERE "
                                                  "UID = ? AND Holiday = 0 AND Subscription = 0"),
                                   {EventStore::newUid(), QLatin1String(ConflictSuffix),
                                    EventStore::stampText(now), uid});
                ++c.conflicts;
                c.conflictTexts << local.front().description + QLatin1String(ConflictSuffix);
                ok = ok && replaceRows(db, uid, {}, serverRows, now);
            } else {
                ok = ok && replaceRows(db, uid, local, serverRows, now);
            }
        } else {
            // Deleted here but changed on the server since: the change wins, nothing is lost.
            ok = ok && replaceRows(db, uid, {}, serverRows, now);
        }
        ++c.received;
        save(next);
    }
    const QString keptAt = EventStore::stampText(now);
    if (removal == Removal::DeleteKeepingCopy && !removed.isEmpty())
        ok = ok && db.exec(QStringLiteral("DELETE FROM CalDavKept WHERE Kept <> ?"), {keptAt});
    for (const QString& href : removed) {
        if (!ok)
            break;
        const auto known = byHref.constFind(href);
        if (known == byHref.cend())
            continue;
        const CalDavRecord record = *known;
        if (!record.uid.isEmpty() && removal != Removal::Forget) {
            const std::vector<EventRow> local = rowsOf(db, record.uid, ok);
            // An event edited here since stays, and goes to the server as new.
            if (!local.empty() && hash(local) == record.hash) {
                const QString ofUid = QStringLiteral(
                    " FROM Events WHERE UID = ? AND Holiday = 0 AND Subscription = 0");
                if (removal == Removal::DeleteKeepingCopy)
                    ok = ok && db.exec(QStringLiteral("INSERT INTO CalDavKept (eDate, "
                                                      "Description, IconImg, SmallImg, "
                                                      "Frequency, UID, Kept) SELECT eDate, "
                                                      "Description, IconImg, SmallImg, "
                                                      "Frequency, UID, ?") +
                                           ofUid + QStringLiteral(" ORDER BY rowid"),
                                       {keptAt, record.uid});
                ok = ok && db.exec(QStringLiteral("DELETE") + ofUid, {record.uid}) &&
                     db.exec(QStringLiteral("DELETE FROM KeptEvents WHERE UID = ?"), {record.uid});
                ++c.received;
            }
            hrefOfUid.remove(record.uid);
        }
        byHref.remove(href);
        ok = ok && db.exec(QStringLiteral("DELETE FROM CalDavEvents WHERE Href = ?"), {href});
    }
    if (token)
        ok = ok && db.exec(QStringLiteral("UPDATE CalDavAccount SET SyncToken = ? WHERE ID = 1"),
                           {text(*token)});
    if (!ok || !t.commit())
        return fail(QStringLiteral("applying the server's events"), db.lastError());
    counts.received += c.received;
    counts.conflicts += c.conflicts;
    counts.skipped += c.skipped;
    counts.conflictTexts << c.conflictTexts;
    return true;
}

SchemaPart CalDavStore::tables() {
    SchemaPart part;
    // The account (one row), and for each event on the server its href, ETag and the
    // fingerprint of the rows it was last synced as. %1: the account's columns added since
    // the step that made them.
    const QString account =
        QStringLiteral("CREATE TABLE CalDavAccount ("
                       " ID INTEGER PRIMARY KEY CHECK (ID = 1),"
                       " Server TEXT NOT NULL DEFAULT '', User TEXT NOT NULL DEFAULT '',"
                       " Calendar TEXT NOT NULL DEFAULT '',"
                       " CalendarName TEXT NOT NULL DEFAULT '',"
                       " SyncToken TEXT NOT NULL DEFAULT '',"
                       " Every INTEGER NOT NULL DEFAULT 15, LastSync TEXT,"
                       " LastResult TEXT NOT NULL DEFAULT '',"
                       " Sent INTEGER NOT NULL DEFAULT 0, Received INTEGER NOT NULL DEFAULT 0%1)");
    const QString events =
        QStringLiteral("CREATE TABLE CalDavEvents ("
                       " Href TEXT PRIMARY KEY, UID TEXT NOT NULL DEFAULT '',"
                       " ETag TEXT NOT NULL DEFAULT '', Hash TEXT NOT NULL DEFAULT '')");
    // Removals waiting for the user's word (one row while the sync pauses), and the rows an
    // agreed mass removal deleted, as Events holds them, with the time they were deleted.
    const QString withheld =
        QStringLiteral("CREATE TABLE CalDavWithheld ("
                       " ID INTEGER PRIMARY KEY CHECK (ID = 1),"
                       " Removals INTEGER NOT NULL DEFAULT 0, Synced INTEGER NOT NULL DEFAULT 0,"
                       " Answer TEXT NOT NULL DEFAULT '')");
    const QString kept =
        QStringLiteral("CREATE TABLE CalDavKept ("
                       " eDate TEXT NOT NULL, Description TEXT NOT NULL DEFAULT '',"
                       " IconImg BLOB, SmallImg BLOB,"
                       " Frequency INTEGER NOT NULL DEFAULT 1, UID TEXT,"
                       " Kept TEXT NOT NULL)");
    part.create = {account.arg(QStringLiteral(", Password TEXT NOT NULL DEFAULT '', "
                                              "LastSuccess TEXT")),
                   events, withheld, kept};
    // 4: calendar sync with a CalDAV server.
    part.steps[4] = {createIfMissing(account.arg(QString())), createIfMissing(events)};
    // 5: the password, kept here only while no keyring is reachable.
    part.steps[5] = {
        QStringLiteral("ALTER TABLE CalDavAccount ADD COLUMN Password TEXT NOT NULL DEFAULT ''")};
    // 6: no mass removal from the server without the user's word, and a copy of what one
    // deleted; the last sync that worked, apart from the last attempt (a sync that ended
    // well before counts as one).
    part.steps[6] = {createIfMissing(withheld), createIfMissing(kept),
                     QStringLiteral("ALTER TABLE CalDavAccount ADD COLUMN LastSuccess TEXT"),
                     QStringLiteral("UPDATE CalDavAccount SET LastSuccess = LastSync "
                                    "WHERE LastResult NOT LIKE 'Stopped%'")};
    return part;
}

bool CalDavStore::rollWindows(const QDate& today, const QDateTime& now, const QTimeZone& zone,
                              int* rolled) {
    DataFile db = open();
    Transaction t(db);
    bool ok = t.isActive();
    std::vector<KeptEvent> endless;
    ok = ok &&
         db.forEach(QStringLiteral("SELECT UID, Component, Rows FROM KeptEvents WHERE "
                                   "Component LIKE '%RRULE%'"),
                    {}, [&](DataFile::Row q) {
                        const QString uid = q.value(0).toString();
                        const QByteArray ics = q.value(1).toString().toUtf8();
                        if (IcsImport::endless(ics))
                            endless.push_back(
                                {uid, ics, EventStore::rowsFromText(q.value(2).toString(), uid)});
                        return true;
                    });
    QHash<QString, QString> synced; // fingerprints by UID
    ok = ok && db.forEach(QStringLiteral("SELECT UID, Hash FROM CalDavEvents WHERE UID <> ''"), {},
                          [&](DataFile::Row q) {
                              synced.insert(q.value(0).toString(), q.value(1).toString());
                              return true;
                          });
    int count = 0;
    for (const KeptEvent& kept : endless) {
        if (!ok)
            break;
        const std::vector<EventRow> current = rowsOf(db, kept.uid, ok);
        if (current.empty())
            continue; // deleted here
        const auto record = synced.constFind(kept.uid);
        const bool edited = EventPatch::changed(kept, current);
        if (edited && record != synced.cend())
            continue; // the sync sends the edit first; the server's copy then comes back
        QStringList leftOut;
        const QByteArray ics =
            edited ? EventPatch::write(kept, current, now, zone, &leftOut) : kept.ics;
        if (!leftOut.isEmpty()) {
            // Its rows hold what the event cannot take; made again, they would lose it.
            qCWarning(lcCalendar) << "repeating event" << kept.uid
                                  << "not shown for a later window -" << leftOut.join(u' ');
            continue;
        }
        const IcsImport::Result read =
            IcsImport::read(ics, today, zone, IcsImport::MaxRowsPerEvent);
        if (!read.ok() || read.events.size() != 1 || read.events.front().uid != kept.uid) {
            qCWarning(lcCalendar) << "repeating event" << kept.uid
                                  << "not shown for a later window -"
                                  << (read.ok() ? QStringLiteral("it no longer reads as one event")
                                                : read.error);
            continue;
        }
        const std::vector<EventRow>& rows = read.events.front().rows;
        const QString before = hash(current), after = hash(rows);
        if (!edited && (before == after || !windowMoved(current, rows, today)))
            continue;
        ok = ok && replaceRows(db, kept.uid, current, rows, now) &&
             EventStore::keep(db, {kept.uid, ics, rows});
        if (record != synced.cend() && *record == before)
            ok = ok && db.exec(QStringLiteral("UPDATE CalDavEvents SET Hash = ? WHERE UID = ?"),
                               {after, kept.uid});
        ++count;
    }
    if (!ok || !t.commit())
        return fail(QStringLiteral("showing repeating events for a later window"), db.lastError());
    if (rolled)
        *rolled = count;
    return true;
}
