// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/EventStore.h"

#include "calendar/CalendarLog.h"
#include "calendar/EventRules.h"
#include "calendar/ical/IcsImport.h"
#include "data/DataFile.h"
#include "data/DateText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>

namespace {

// The two picture columns (IconImg, SmallImg) a read asks for; a picture not asked for
// reads as empty.
QString pictureColumns(EventStore::Pictures pictures) {
    QString icon = QStringLiteral("IconImg"), small = QStringLiteral("SmallImg");
    if (pictures == EventStore::Pictures::Large)
        small = QStringLiteral("NULL");
    else if (pictures == EventStore::Pictures::Small) // IconImg stands in for a missing one
        icon = QStringLiteral("CASE WHEN length(SmallImg) > 0 THEN NULL ELSE IconImg END");
    return icon + u", " + small;
}

// The columns every read returns, in the order readRow expects them.
QString columns(EventStore::Pictures pictures) {
    return QStringLiteral("SELECT rowid, eDate, Description, ") + pictureColumns(pictures) +
           QStringLiteral(", Frequency, Holiday, UID, LastModified, Subscription FROM Events");
}

// A subscribed row's text as the month view shows it: after its calendar's name.
const QString LabelledDescription =
    QStringLiteral("CASE WHEN Subscription = 0 THEN Description ELSE coalesce((SELECT Name FROM "
                   "Subscriptions WHERE ID = Subscription) || ': ', '') || Description END");

// eDate is compared on its first ten characters, so a hand-written "YYYY-MM-DD HH:MM"
// still counts as its day.
const QString Day = QStringLiteral("substr(eDate, 1, 10)");

// "YYYY-MM-DD" is by far the common case and parsing it by hand keeps a month of
// thousands of rows cheap; anything else goes through the tolerant reader. Works on the
// text as Qt returns it and on the raw bytes of CAST(eDate AS BLOB).
template <typename Text> QDate quickDate(const Text& t) {
    if (t.size() != 10 || t[4].unicode() != '-' || t[7].unicode() != '-')
        return {};
    int n[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int part = 0; part < 3; ++part)
        for (int i = starts[part]; i < starts[part] + lengths[part]; ++i) {
            const int digit = int(t[i].unicode()) - '0';
            if (digit < 0 || digit > 9)
                return {};
            n[part] = n[part] * 10 + digit;
        }
    return QDate(n[0], n[1], n[2]);
}

QDate parseDate(const QVariant& v) {
    const QDate d = quickDate(v.toString());
    return d.isValid() ? d : DateText::toDate(v);
}

QDate parseDateBytes(const QByteArray& bytes) {
    const QDate d = quickDate(QLatin1StringView(bytes));
    return d.isValid() ? d : DateText::toDate(QString::fromUtf8(bytes));
}

EventRow readRow(const QSqlQuery& q) {
    EventRow r;
    r.rowId = q.value(0).toLongLong();
    r.eDate = parseDate(q.value(1));
    r.description = q.value(2).toString();
    r.iconImg = q.value(3).toByteArray();
    r.smallImg = q.value(4).toByteArray();
    r.frequency = q.value(5).toInt();
    r.holiday = q.value(6).toInt();
    r.uid = q.value(7).toString();
    r.modified = EventStore::readStamp(q.value(8).toString());
    r.subscription = q.value(9).toInt();
    return r;
}

// SQL text for a date bound; later than any stored date is written as the last day
// allowed, because "10000-01-01" would sort before "9999-..." as text.
QString bound(const QDate& d) {
    return DateText::fromDate(qBound(EventRules::EarliestDate, d, EventRules::LatestDate));
}

// The month view's superset: rows dated in the grid, every weekly, monthly and code-2 row,
// and the yearly rows of the month.
QString monthWhere() {
    return Day + QStringLiteral(" BETWEEN ? AND ? OR (Frequency > 1 AND Frequency < 5)"
                                " OR (Frequency = 5 AND substr(eDate, 6, 2) = ?)");
}

QVariantList monthValues(const QDate& first, const QDate& last, int month) {
    return {bound(first), bound(last), QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'))};
}

// The editor's rows of one day: dated that day, or repeating and started by then.
QString dayWhere() {
    return Day + QStringLiteral(" = ? OR (Frequency IN (3, 4, 5) AND ") + Day +
           QStringLiteral(" <= ?)");
}

QVariant blob(const QByteArray& b) {
    return b.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(b);
}

// A time for LastModified and tombstones: the given one, else SQLite's own clock.
const QString StampOrNow = QStringLiteral("COALESCE(?, strftime('%Y-%m-%dT%H:%M:%SZ', 'now'))");

QVariant stamp(const QDateTime& t) {
    return t.isValid() ? QVariant(EventStore::stampText(t))
                       : QVariant(QMetaType::fromType<QString>());
}

// Adds a row; one without a UID gets a new one, one without a modified time `now`.
bool insertRow(DataFile& db, const EventRow& r, const QDateTime& now) {
    if (!r.eDate.isValid())
        return false;
    return db.exec(QStringLiteral("INSERT INTO Events (eDate, Description, IconImg, SmallImg, "
                                  "Frequency, Holiday, UID, Subscription, LastModified) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ") +
                       StampOrNow + u')',
                   {DateText::fromDate(r.eDate),
                    r.description.isNull() ? QStringLiteral("") : r.description, blob(r.iconImg),
                    blob(r.smallImg), r.frequency, r.holiday,
                    r.uid.isEmpty() ? EventStore::newUid() : r.uid, r.subscription,
                    stamp(r.modified.isValid() ? r.modified : now)});
}

// Adds many rows of one subscription (0: the user's) a few to a statement; the rows
// carry their UIDs.
bool insertRows(DataFile& db, const std::vector<const EventRow*>& rows, int subscription,
                const QDateTime& now) {
    // Qt looks up every bound value by name, at a cost that grows with the statement.
    constexpr size_t Batch = 16;
    const QVariant time = stamp(now);
    for (size_t from = 0; from < rows.size(); from += Batch) {
        const size_t to = std::min(rows.size(), from + Batch);
        QString sql = QStringLiteral("INSERT INTO Events (eDate, Description, Frequency, Holiday, "
                                     "UID, Subscription, LastModified) VALUES ");
        QVariantList values;
        for (size_t i = from; i < to; ++i) {
            const EventRow& r = *rows[i];
            if (!r.eDate.isValid())
                return false;
            sql += (i == from ? QStringLiteral("") : QStringLiteral(", ")) +
                   QStringLiteral("(?, ?, ?, ?, ?, ?, ") + StampOrNow + u')';
            values << DateText::fromDate(r.eDate)
                   << (r.description.isNull() ? QStringLiteral("") : r.description) << r.frequency
                   << r.holiday << r.uid << subscription
                   << (r.modified.isValid() ? stamp(r.modified) : time);
        }
        if (!db.exec(sql, values))
            return false;
    }
    return true;
}

// After rows of these UIDs were deleted: each UID no row carries any more is remembered
// as deleted at `now`.
bool buryMissing(DataFile& db, const QSet<QString>& uids, const QDateTime& now) {
    for (const QString& uid : uids) {
        if (uid.isEmpty())
            continue;
        if (db.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM Events WHERE UID = ?)"), {uid})
                .toBool())
            continue;
        if (!db.exec(QStringLiteral("INSERT OR REPLACE INTO EventTombstones (UID, Deleted) "
                                    "VALUES (?, ") +
                         StampOrNow + u')',
                     {uid, stamp(now)}))
            return false;
        // What the other program wrote goes with the event.
        if (!db.exec(QStringLiteral("DELETE FROM KeptEvents WHERE UID = ?"), {uid}))
            return false;
    }
    return true;
}

} // namespace

EventStore::EventStore(QString dataFile, ChangeHub* changes)
    : DataStore(std::move(dataFile), lcCalendar, changes) {}

QString EventStore::newUid() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString EventStore::stampText(const QDateTime& t) {
    return t.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

QDateTime EventStore::readStamp(const QString& text) {
    QDateTime t = QDateTime::fromString(text, Qt::ISODate);
    return t.isValid() ? t.toUTC() : QDateTime();
}

std::vector<EventRow> EventStore::select(const QString& where, const QVariantList& values,
                                         const Keep& keep, Pictures pictures) {
    std::vector<EventRow> rows;
    DataFile db = open();
    // Reads walk the whole table; mapping the file spares copying every page.
    db.exec(QStringLiteral("PRAGMA mmap_size = 268435456"));
    if (select(db, where, values, keep, rows, pictures))
        m_error.clear();
    return rows;
}

bool EventStore::select(DataFile& db, const QString& where, const QVariantList& values,
                        const Keep& keep, std::vector<EventRow>& rows, Pictures pictures) {
    ++m_queries;
    const bool ok = db.forEach(columns(pictures) + QStringLiteral(" WHERE ") + where +
                                   QStringLiteral(" ORDER BY rowid"),
                               values, [&](DataFile::Row q) {
                                   EventRow r = readRow(q);
                                   if (keep(r))
                                       rows.push_back(std::move(r));
                                   return true;
                               });
    if (!ok)
        m_error = db.lastError();
    return ok;
}

std::vector<EventRow> EventStore::readMonth(const QDate& first, const QDate& last, int month,
                                            Pictures pictures) {
    return select(
        monthWhere(), monthValues(first, last, month),
        [&](const EventRow& r) { return EventRules::monthViewFetches(r, first, last, month); },
        pictures);
}

bool EventStore::readMonthDrawn(const QDate& first, const QDate& last, int month, Pictures pictures,
                                const Take& take, const Drawn& drawn) {
    ++m_queries;
    DataFile db = open();
    // The superset of monthWhere() in three disjoint parts, each one range of an index, so
    // that neither the whole index nor the table is walked: the weekly, monthly and code-2
    // rows; the yearly rows of the month; the other rows dated in the grid. The eDate range
    // of the last part encloses the comparison on its first ten characters, which stays as
    // the exact test. Sorting them by rowid lets the reading stop as soon as `take` has
    // what it needs. eDate comes as bytes, sparing its conversion to UTF-16.
    const QString select = QStringLiteral("SELECT rowid, CAST(eDate AS BLOB), Frequency, Holiday "
                                          "FROM Events WHERE ");
    const QString repeating = QStringLiteral("(Frequency > 1 AND Frequency < 5)");
    const QString yearly = QStringLiteral("(Frequency = 5 AND substr(eDate, 6, 2) = ?)");
    const QString sql =
        select + repeating + QStringLiteral(" UNION ALL ") + select + yearly +
        QStringLiteral(" UNION ALL ") + select + QStringLiteral("eDate >= ? AND eDate < ? AND ") +
        Day + QStringLiteral(" BETWEEN ? AND ? AND ") + repeating +
        QStringLiteral(" IS NOT 1 AND ") + yearly + QStringLiteral(" IS NOT 1 ORDER BY 1");
    const QString from = bound(first), to = bound(last);
    // Every text whose first ten characters are at most `to` sorts before this one.
    QString past = to;
    past[9] = QChar(past[9].unicode() + 1);
    const QString mm = QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
    const bool read = db.forEach(sql, {mm, from, past, from, to, mm}, [&](DataFile::Row q) {
        EventRow r;
        r.rowId = q.value(0).toLongLong();
        r.eDate = parseDateBytes(q.value(1).toByteArray());
        r.frequency = q.value(2).toInt();
        r.holiday = q.value(3).toInt();
        return !EventRules::monthViewFetches(r, first, last, month) || take(r);
    });
    if (!read) {
        m_error = db.lastError();
        return false;
    }

    const std::vector<EventRow*> wanted = drawn();
    if (!wanted.empty()) {
        // The rowids go in as one bound JSON array, whatever their number.
        QByteArray list = "[";
        for (const EventRow* r : wanted) {
            if (list.size() > 1)
                list += ',';
            list += QByteArray::number(r->rowId);
        }
        list += ']';
        std::vector<EventRow*> byId = wanted;
        std::sort(byId.begin(), byId.end(),
                  [](const EventRow* a, const EventRow* b) { return a->rowId < b->rowId; });
        const bool detailed = db.forEach(
            QStringLiteral("SELECT rowid, ") + LabelledDescription + QStringLiteral(", ") +
                pictureColumns(pictures) +
                QStringLiteral(", UID FROM Events WHERE rowid IN (SELECT value FROM json_each(?))"),
            {QString::fromLatin1(list)}, [&](DataFile::Row details) {
                const qint64 id = details.value(0).toLongLong();
                auto it =
                    std::lower_bound(byId.begin(), byId.end(), id,
                                     [](const EventRow* r, qint64 v) { return r->rowId < v; });
                for (; it != byId.end() && (*it)->rowId == id; ++it) {
                    (*it)->description = details.value(1).toString();
                    (*it)->iconImg = details.value(2).toByteArray();
                    (*it)->smallImg = details.value(3).toByteArray();
                    (*it)->uid = details.value(4).toString();
                }
                return true;
            });
        if (!detailed) {
            m_error = db.lastError();
            return false;
        }
    }
    m_error.clear();
    return true;
}

std::vector<EventRow> EventStore::readDay(const QDate& d) {
    return select(dayWhere(), {bound(d), bound(d)},
                  [&](const EventRow& r) { return EventRules::editorShows(r, d); });
}

std::vector<EventRow> EventStore::readForExport(const QDate& from, const QDate& to) {
    return select(QStringLiteral("(Frequency = 1 AND ") + Day +
                      QStringLiteral(" BETWEEN ? AND ?) OR Frequency IN (3, 4, 5)"),
                  {bound(from), bound(to)}, [&](const EventRow& r) {
                      if (!r.eDate.isValid())
                          return false;
                      return r.frequency != EventFrequency::OneTime ||
                             (r.eDate >= from && r.eDate <= to);
                  });
}

std::vector<EventRow> EventStore::readForSearch(const QDate& s, const QString& text) {
    // Case is compared in C++: SQLite's LIKE and lower() know only ASCII letters.
    return select(QStringLiteral("NOT (Frequency = 1 AND ") + Day + QStringLiteral(" <= ?)"),
                  {bound(s)},
                  [&](const EventRow& r) { return EventRules::searchFetches(r, s, text); });
}

std::vector<EventRow> EventStore::readForReminder(const QDate& t, const QDate& h) {
    return select(QStringLiteral("(Frequency < 3 AND ") + Day +
                      QStringLiteral(" BETWEEN ? AND ?) OR Frequency >= 3"),
                  {bound(t), bound(h)},
                  [&](const EventRow& r) { return EventRules::reminderFetches(r, t, h); });
}

bool EventStore::add(const EventRow& row) {
    return add(std::vector<EventRow>{row});
}

bool EventStore::add(const std::vector<EventRow>& rows) {
    return replaceUserEventsOn(QDate(), rows);
}

bool EventStore::remove(qint64 rowId) {
    DataFile db = open();
    Transaction transaction(db);
    const QString uid = db.scalar(QStringLiteral("SELECT UID FROM Events WHERE rowid = ? AND "
                                                 "Holiday = 0"),
                                  {rowId})
                            .toString();
    if (!transaction.isActive() ||
        !db.exec(QStringLiteral("DELETE FROM Events WHERE rowid = ?"), {rowId}) ||
        !buryMissing(db, {uid}, m_now) || !transaction.commit()) {
        m_error = db.lastError();
        return false;
    }
    return true;
}

bool EventStore::replaceUserEventsOn(const QDate& d, const std::vector<EventRow>& rows) {
    DataFile db = open();
    Transaction transaction(db);
    if (!transaction.isActive()) {
        m_error = db.lastError();
        return false;
    }
    // The day's rows are read inside the transaction, so what is deleted is what was read.
    std::vector<EventRow> doomed;
    bool ok = !d.isValid() ||
              select(
                  db, dayWhere(), {bound(d), bound(d)},
                  [&](const EventRow& r) { return EventRules::editorReplaces(r, d); }, doomed);
    for (const EventRow& r : doomed)
        ok = ok && db.exec(QStringLiteral("DELETE FROM Events WHERE rowid = ?"), {r.rowId});
    for (const EventRow& r : rows)
        ok = ok && insertRow(db, r, m_now);
    QSet<QString> gone;
    for (const EventRow& r : doomed)
        gone.insert(r.uid);
    ok = ok && buryMissing(db, gone, m_now);
    if (!ok || !transaction.commit()) {
        m_error = db.lastError().isEmpty() ? tr("an event has no valid date") : db.lastError();
        return false;
    }
    m_error.clear();
    return true;
}

bool EventStore::mergeHolidays(const std::vector<EventRow>& rows, int* added) {
    int newRows = 0;
    DataFile db = open();
    Transaction transaction(db);
    if (!transaction.isActive()) {
        m_error = db.lastError();
        return false;
    }
    // Every stored holiday, read once inside the transaction and looked up by date and icon
    // number; the text is compared by the rule.
    std::vector<EventRow> stored;
    bool ok = select(
        db, QStringLiteral("Holiday <> 0"), {}, [](const EventRow& r) { return r.eDate.isValid(); },
        stored, Pictures::Large);
    using Key = std::pair<qint64, int>;
    QHash<Key, std::vector<size_t>> byKey;
    const auto keyOf = [](const EventRow& r) {
        return Key{r.eDate.toJulianDay(), r.holiday % 100};
    };
    for (size_t i = 0; i < stored.size(); ++i)
        byKey[keyOf(stored[i])].push_back(i);

    for (const EventRow& row : rows) {
        if (!ok)
            break;
        if (!row.eDate.isValid()) {
            ok = false;
            break;
        }
        const EventRow* match = nullptr;
        for (size_t i : byKey.value(keyOf(row)))
            if (EventRules::isSameHoliday(stored[i], row)) {
                match = &stored[i];
                break;
            }
        if (match) {
            // A holiday that is already as listed is not written again, so merging an
            // unchanged list leaves the data file untouched.
            if (match->description == row.description && match->frequency == row.frequency &&
                match->holiday == row.holiday && match->eDate == row.eDate)
                continue;
            ok = db.exec(QStringLiteral("UPDATE Events SET eDate = ?, Description = ?, "
                                        "Frequency = ?, Holiday = ?, LastModified = ") +
                             StampOrNow + QStringLiteral(" WHERE rowid = ?"),
                         {DateText::fromDate(row.eDate),
                          row.description.isNull() ? QStringLiteral("") : row.description,
                          row.frequency, row.holiday, stamp(m_now), match->rowId});
            continue;
        }
        ok = insertRow(db, row, m_now);
        const qint64 id = db.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
        ok = ok && id > 0;
        if (!ok)
            break;
        ++newRows;
        EventRow copy = row;
        copy.rowId = id;
        // Kept in table order, so the first match stays the oldest row.
        stored.push_back(std::move(copy));
        byKey[keyOf(stored.back())].push_back(stored.size() - 1);
    }
    if (!ok || !transaction.commit()) {
        m_error = db.lastError().isEmpty() ? tr("a holiday has no valid date") : db.lastError();
        return false;
    }
    m_error.clear();
    if (added)
        *added = newRows;
    return true;
}

bool EventStore::hasHolidays() {
    DataFile db = open();
    const QVariant any =
        db.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM Events WHERE Holiday <> 0)"));
    m_error = db.lastError();
    return any.toBool();
}

bool EventStore::putEvents(const std::vector<EventRow>& rows, PutCounts* counts, int subscription,
                           const QHash<QString, QByteArray>& components) {
    PutCounts c;
    // The incoming rows by UID, in the order the UIDs first come.
    QHash<QString, std::vector<const EventRow*>> incoming;
    QStringList order;
    for (const EventRow& r : rows) {
        auto& list = incoming[r.uid];
        if (list.empty())
            order << r.uid;
        list.push_back(&r);
    }
    DataFile db = open();
    Transaction transaction(db);
    if (!transaction.isActive()) {
        m_error = db.lastError();
        return false;
    }
    // What is stored under each of those UIDs, as comparable lines.
    struct Stored {
        QStringList lines;
        bool holiday = false;
    };
    QHash<QString, Stored> stored;
    // A subscription's stored UIDs its calendar no longer lists.
    QSet<QString> gone;
    std::vector<const EventRow*> added;
    QJsonArray revived; // new UIDs: a tombstone of theirs goes
    const auto line = [](const QDate& d, const QString& text, int frequency) -> QString {
        return DateText::fromDate(d) + u'|' + QString::number(frequency) + u'|' + text;
    };
    bool ok = db.forEach(
        QStringLiteral("SELECT UID, eDate, Description, Frequency, Holiday, Subscription "
                       "FROM Events WHERE UID IS NOT NULL"),
        {}, [&](DataFile::Row q) {
            const QString uid = q.value(0).toString();
            if (q.value(5).toInt() != subscription)
                return true;
            if (!incoming.contains(uid)) {
                if (subscription != 0)
                    gone.insert(uid);
                return true;
            }
            Stored& s = stored[uid];
            s.holiday = s.holiday || q.value(4).toInt() != 0;
            s.lines << line(parseDate(q.value(1)), q.value(2).toString(), q.value(3).toInt());
            return true;
        });
    for (const QString& uid : std::as_const(order)) {
        if (!ok)
            break;
        const std::vector<const EventRow*>& mine = incoming[uid];
        const auto it = stored.constFind(uid);
        if (it != stored.cend()) {
            if (it->holiday) {
                ++c.holidays;
                continue;
            }
        }
        if (subscription == 0 && components.contains(uid)) {
            KeptEvent kept{uid, components.value(uid), {}};
            for (const EventRow* r : mine)
                kept.rows.push_back(*r);
            ok = keep(db, kept);
        }
        if (it != stored.cend()) {
            QStringList lines;
            for (const EventRow* r : mine)
                lines << line(r->eDate, r->description, r->frequency);
            lines.sort();
            QStringList before = it->lines;
            before.sort();
            if (lines == before) {
                ++c.unchanged;
                continue;
            }
            ok = db.exec(QStringLiteral("DELETE FROM Events WHERE UID = ? AND Holiday = 0 AND "
                                        "Subscription = ?"),
                         {uid, subscription});
            ++c.updated;
        } else {
            revived << uid;
            ++c.added;
        }
        added.insert(added.end(), mine.begin(), mine.end());
    }
    ok = ok && insertRows(db, added, subscription, m_now);
    if (ok && !revived.isEmpty())
        ok = db.exec(QStringLiteral("DELETE FROM EventTombstones WHERE UID IN "
                                    "(SELECT value FROM json_each(?))"),
                     {QString::fromUtf8(QJsonDocument(revived).toJson(QJsonDocument::Compact))});
    for (const QString& uid : std::as_const(gone)) {
        ok = ok && db.exec(QStringLiteral("DELETE FROM Events WHERE UID = ? AND Subscription = ?"),
                           {uid, subscription});
        c.removed += ok;
    }
    if (!ok || !transaction.commit()) {
        m_error = db.lastError().isEmpty() ? tr("an event has no valid date") : db.lastError();
        return false;
    }
    m_error.clear();
    if (counts)
        *counts = c;
    return true;
}

namespace {

// A random (version 4) UID and the time it was given, for every event that has none.
QString giveEventsUids() {
    return QStringLiteral("UPDATE Events SET UID = lower(hex(randomblob(4)) || '-' || "
                          "hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-a' || "
                          "substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))), "
                          "LastModified = strftime('%Y-%m-%dT%H:%M:%SZ', 'now') WHERE UID IS NULL");
}

} // namespace

SchemaPart EventStore::tables() {
    const QString byCode =
        QStringLiteral("CREATE INDEX EventsByCode ON Events (Frequency, eDate, Holiday)");
    const QString byUid = QStringLiteral("CREATE INDEX EventsByUid ON Events (UID)");
    const QString tombstones = QStringLiteral(
        "CREATE TABLE EventTombstones (UID TEXT PRIMARY KEY, Deleted TEXT NOT NULL)");
    // The events as the server or file they came from wrote them (KeptEvent).
    const QString kept = QStringLiteral("CREATE TABLE KeptEvents (UID TEXT PRIMARY KEY,"
                                        " Component TEXT NOT NULL, Rows TEXT NOT NULL)");
    SchemaPart part;
    part.create = {QStringLiteral("CREATE TABLE Events ("
                                  " eDate TEXT NOT NULL,"
                                  " Description TEXT NOT NULL DEFAULT '',"
                                  " IconImg BLOB,"
                                  " SmallImg BLOB,"
                                  " Frequency INTEGER NOT NULL DEFAULT 1,"
                                  " Holiday INTEGER NOT NULL DEFAULT 0,"
                                  " UID TEXT,"
                                  " LastModified TEXT,"
                                  " Subscription INTEGER NOT NULL DEFAULT 0)"),
                   QStringLiteral("CREATE INDEX EventsByDate ON Events (eDate)"),
                   byCode,
                   byUid,
                   tombstones,
                   kept};
    // 1: the month view reads dates and codes from an index instead of the table.
    part.steps[1] = {createIfMissing(byCode)};
    // 2: events get stable identities for calendar interchange. Every row gets a random UID
    // once and the time it was given one; a row with the same UID as others belongs to the
    // same event (a multi-day or expanded one). Deleted user events leave their UID and the
    // time of deletion. Rows of a subscribed calendar carry the subscription's ID.
    part.steps[2] = {
        QStringLiteral("ALTER TABLE Events ADD COLUMN UID TEXT"),
        QStringLiteral("ALTER TABLE Events ADD COLUMN LastModified TEXT"),
        giveEventsUids(),
        createIfMissing(byUid),
        createIfMissing(tombstones),
        QStringLiteral("ALTER TABLE Events ADD COLUMN Subscription INTEGER NOT NULL DEFAULT 0")};
    // 6: another program's events are kept whole beside their rows.
    part.steps[6] = {createIfMissing(kept)};
    part.rowRepairs = {giveEventsUids()};
    return part;
}

QString EventStore::rowsText(const std::vector<EventRow>& rows) {
    QJsonArray list;
    for (const EventRow& r : rows)
        list.append(QJsonArray{DateText::fromDate(r.eDate), r.frequency, r.description});
    return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
}

std::vector<EventRow> EventStore::rowsFromText(const QString& text, const QString& uid) {
    std::vector<EventRow> rows;
    const QJsonArray list = QJsonDocument::fromJson(text.toUtf8()).array();
    for (const QJsonValue& v : list) {
        const QJsonArray a = v.toArray();
        EventRow r;
        r.eDate = parseDate(a.at(0).toString());
        r.frequency = a.at(1).toInt(EventFrequency::OneTime);
        r.description = a.at(2).toString();
        r.uid = uid;
        rows.push_back(std::move(r));
    }
    return rows;
}

bool EventStore::keep(DataFile& db, const KeptEvent& event) {
    // Kept the same already: nothing is written, so the file stays untouched.
    const QString ics = QString::fromUtf8(event.ics), rows = rowsText(event.rows);
    return db.exec(QStringLiteral("INSERT OR REPLACE INTO KeptEvents (UID, Component, Rows) "
                                  "SELECT ?, ?, ? WHERE NOT EXISTS (SELECT 1 FROM KeptEvents "
                                  "WHERE UID = ? AND Component = ? AND Rows = ?)"),
                   {event.uid, ics, rows, event.uid, ics, rows});
}

QHash<QString, QDate> EventStore::shownWithinWindow() {
    QHash<QString, QDate> out;
    DataFile db = open();
    if (!db.forEach(QStringLiteral("SELECT k.UID, k.Component, MAX(e.eDate) FROM KeptEvents k "
                                   "JOIN Events e ON e.UID = k.UID AND e.Frequency = 1 WHERE "
                                   "k.Component LIKE '%RRULE%' GROUP BY k.UID"),
                    {}, [&](DataFile::Row q) {
                        if (IcsImport::endless(q.value(1).toString().toUtf8()))
                            out.insert(q.value(0).toString(), parseDate(q.value(2)));
                        return true;
                    })) {
        m_error = db.lastError();
        return {};
    }
    m_error.clear();
    return out;
}

QHash<QString, KeptEvent> EventStore::keptEvents() {
    QHash<QString, KeptEvent> out;
    DataFile db = open();
    ++m_queries;
    if (!db.forEach(QStringLiteral("SELECT UID, Component, Rows FROM KeptEvents"), {},
                    [&](DataFile::Row q) {
                        const QString uid = q.value(0).toString();
                        out.insert(uid, {uid, q.value(1).toString().toUtf8(),
                                         rowsFromText(q.value(2).toString(), uid)});
                        return true;
                    })) {
        m_error = db.lastError();
        return {};
    }
    m_error.clear();
    return out;
}
