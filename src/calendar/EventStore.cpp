#include "calendar/EventStore.h"

#include "calendar/EventRules.h"
#include "core/DataFile.h"
#include "core/DateText.h"

#include <QSqlQuery>

namespace {

// The columns every read returns, in the order readRow expects them, with the pictures
// a read asks for; a picture not asked for reads as empty.
QString columns(EventStore::Pictures pictures) {
    QString icon = QStringLiteral("IconImg"), small = QStringLiteral("SmallImg");
    if (pictures == EventStore::Pictures::Large)
        small = QStringLiteral("NULL");
    else if (pictures == EventStore::Pictures::Small) // IconImg stands in for a missing one
        icon = QStringLiteral("CASE WHEN length(SmallImg) > 0 THEN NULL ELSE IconImg END");
    return QStringLiteral("SELECT rowid, eDate, Description, ") + icon + u", " + small +
           QStringLiteral(", Frequency, Holiday FROM Events");
}

// eDate is compared on its first ten characters, so a hand-written "YYYY-MM-DD HH:MM"
// still counts as its day.
const QString Day = QStringLiteral("substr(eDate, 1, 10)");

// "YYYY-MM-DD" is by far the common case and parsing it by hand keeps a month of
// thousands of rows cheap; anything else goes through the tolerant reader.
QDate parseDate(const QVariant& v) {
    const QString t = v.toString();
    if (t.size() == 10 && t[4] == u'-' && t[7] == u'-') {
        int n[3] = {0, 0, 0};
        const int starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
        bool digits = true;
        for (int part = 0; part < 3 && digits; ++part)
            for (int i = starts[part]; i < starts[part] + lengths[part]; ++i) {
                const char16_t c = t[i].unicode();
                digits = digits && c >= u'0' && c <= u'9';
                n[part] = n[part] * 10 + (c - u'0');
            }
        if (digits)
            return QDate(n[0], n[1], n[2]);
    }
    return DateText::toDate(v);
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
    return r;
}

// SQL text for a date bound; later than any stored date is written as the last day
// allowed, because "10000-01-01" would sort before "9999-..." as text.
QString bound(const QDate& d) {
    return DateText::fromDate(qBound(EventRules::EarliestDate, d, EventRules::LatestDate));
}

// The editor's rows of one day: dated that day, or repeating and started by then.
QString dayWhere() {
    return Day + QStringLiteral(" = ? OR (Frequency IN (3, 4, 5) AND ") + Day +
           QStringLiteral(" <= ?)");
}

QVariant blob(const QByteArray& b) {
    return b.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(b);
}

bool insertRow(DataFile& db, const EventRow& r) {
    if (!r.eDate.isValid())
        return false;
    return db.exec(QStringLiteral("INSERT INTO Events (eDate, Description, IconImg, SmallImg, "
                                  "Frequency, Holiday) VALUES (?, ?, ?, ?, ?, ?)"),
                   {DateText::fromDate(r.eDate),
                    r.description.isNull() ? QStringLiteral("") : r.description, blob(r.iconImg),
                    blob(r.smallImg), r.frequency, r.holiday});
}

} // namespace

EventStore::EventStore(QString dataFile) : m_path(std::move(dataFile)) {}

std::vector<EventRow> EventStore::select(const QString& where, const QVariantList& values,
                                         const Keep& keep, Pictures pictures) {
    std::vector<EventRow> rows;
    DataFile db(m_path);
    // Reads walk the whole table; mapping the file spares copying every page.
    db.exec(QStringLiteral("PRAGMA mmap_size = 268435456"));
    if (select(db, where, values, keep, rows, pictures))
        m_error.clear();
    return rows;
}

bool EventStore::select(DataFile& db, const QString& where, const QVariantList& values,
                        const Keep& keep, std::vector<EventRow>& rows, Pictures pictures) {
    ++m_queries;
    QSqlQuery q = db.query(columns(pictures) + QStringLiteral(" WHERE ") + where +
                               QStringLiteral(" ORDER BY rowid"),
                           values);
    if (!q.isActive()) {
        m_error = db.lastError();
        return false;
    }
    while (q.next()) {
        EventRow r = readRow(q);
        if (keep(r))
            rows.push_back(std::move(r));
    }
    return true;
}

std::vector<EventRow> EventStore::readMonth(const QDate& first, const QDate& last, int month,
                                            Pictures pictures) {
    return select(
        Day + QStringLiteral(" BETWEEN ? AND ? OR (Frequency > 1 AND Frequency < 5)"
                             " OR (Frequency = 5 AND substr(eDate, 6, 2) = ?)"),
        {bound(first), bound(last), QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'))},
        [&](const EventRow& r) { return EventRules::monthViewFetches(r, first, last, month); },
        pictures);
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
    DataFile db(m_path);
    if (!db.exec(QStringLiteral("DELETE FROM Events WHERE rowid = ?"), {rowId})) {
        m_error = db.lastError();
        return false;
    }
    return true;
}

bool EventStore::replaceUserEventsOn(const QDate& d, const std::vector<EventRow>& rows) {
    DataFile db(m_path);
    if (!db.transaction()) {
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
        ok = ok && insertRow(db, r);
    if (!ok || !db.commit()) {
        m_error = db.lastError().isEmpty() ? QStringLiteral("an event has no valid date")
                                           : db.lastError();
        db.rollback();
        return false;
    }
    m_error.clear();
    return true;
}
