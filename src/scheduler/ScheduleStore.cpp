// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduleStore.h"

#include "data/DataFile.h"
#include "data/DateText.h"
#include "shell/DueEntries.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

Q_LOGGING_CATEGORY(lcScheduler, "plumora.scheduler", QtCriticalMsg)

namespace {

const QString Columns = QStringLiteral("SELECT rowid, SchType, Launch, SchDT, Frequency "
                                       "FROM Schedule");

ScheduleRow readRow(const QSqlQuery& q) {
    ScheduleRow r;
    r.rowId = q.value(0).toLongLong();
    r.schType = q.value(1).toInt();
    r.launch = q.value(2).toString();
    if (!readDue(q.value(3), r.date, r.time)) {
        r.date = QDate();
        r.time = QTime();
    }
    r.frequency = q.value(4).toInt();
    return r;
}

bool sameRow(const ScheduleRow& a, const ScheduleRow& b) {
    return a.rowId == b.rowId && a.schType == b.schType && a.launch == b.launch &&
           a.date == b.date && a.time == b.time && a.frequency == b.frequency;
}

QVariantList values(const ScheduleRow& row) {
    return {row.schType, row.launch.isNull() ? QStringLiteral("") : row.launch,
            ScheduleStore::schDT(row.date, row.time), row.frequency};
}

bool hasWhen(const ScheduleRow& row) {
    return row.date.isValid() && row.time.isValid();
}

// The rowids of `rows` as one JSON array, to be bound as a single value.
QString idList(const std::vector<ScheduleRow>& rows) {
    QByteArray list = "[";
    for (const ScheduleRow& r : rows) {
        if (list.size() > 1)
            list += ',';
        list += QByteArray::number(r.rowId);
    }
    return QString::fromLatin1(list + ']');
}

} // namespace

ScheduleStore::ScheduleStore(QString dataFile, ChangeHub* changes)
    : DataStore(std::move(dataFile), lcScheduler, changes) {}

QString ScheduleStore::schDT(const QDate& date, const QTime& time) {
    return DateText::fromDateTime(QDateTime(date, QTime(time.hour(), time.minute())));
}

bool ScheduleStore::readAll(std::vector<ScheduleRow>& rows) {
    rows.clear();
    DataFile db = open();
    if (!db.forEach(Columns + QStringLiteral(" ORDER BY SchDT, rowid"), {}, [&](DataFile::Row q) {
            rows.push_back(readRow(q));
            return true;
        })) {
        rows.clear();
        return fail(QStringLiteral("reading the schedule"), db.lastError());
    }
    m_error.clear();
    return true;
}

qint64 ScheduleStore::add(const ScheduleRow& row) {
    if (!hasWhen(row)) {
        fail(QStringLiteral("adding an entry"),
             QCoreApplication::translate("ScheduleStore", "the entry has no date and time"));
        return 0;
    }
    DataFile db = open();
    const qint64 id = db.insert(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, "
                                               "Frequency) VALUES (?, ?, ?, ?)"),
                                values(row));
    if (id == 0) {
        fail(QStringLiteral("adding an entry"), db.lastError());
        return 0;
    }
    m_error.clear();
    return id;
}

ScheduleStore::Update ScheduleStore::update(const ScheduleRow& before, const ScheduleRow& after) {
    const QString what = QStringLiteral("saving an entry");
    if (!hasWhen(after)) {
        fail(what, QCoreApplication::translate("ScheduleStore", "the entry has no date and time"));
        return Update::Failed;
    }
    DataFile db = open();
    Transaction transaction(db);
    if (!transaction.isActive()) {
        fail(what, db.lastError());
        return Update::Failed;
    }
    // Read inside the transaction, so nobody can change the row between look and write.
    // A rowid freed by a deletion is handed to the next row added, so the id alone does
    // not prove it is still the entry that was read.
    bool there = false;
    if (!db.forEach(Columns + QStringLiteral(" WHERE rowid = ?"), {before.rowId},
                    [&](DataFile::Row q) {
                        there = sameRow(readRow(q), before);
                        return false;
                    })) {
        fail(what, db.lastError());
        return Update::Failed;
    }
    if (!there) {
        fail(what, QCoreApplication::translate("ScheduleStore",
                                               "the entry was changed or deleted meanwhile"));
        return Update::Vanished;
    }
    QVariantList v = values(after);
    v << before.rowId;
    if (!db.exec(QStringLiteral("UPDATE Schedule SET SchType = ?, Launch = ?, SchDT = ?, "
                                "Frequency = ? WHERE rowid = ?"),
                 v) ||
        !transaction.commit()) {
        fail(what, db.lastError());
        return Update::Failed;
    }
    m_error.clear();
    return Update::Done;
}

bool ScheduleStore::applyMarks(const std::vector<ScheduleRow>& marked) {
    const QString what = QStringLiteral("deleting marked entries");
    DataFile db = open();
    Transaction transaction(db);
    if (!transaction.isActive())
        return fail(what, db.lastError());
    // Only rows that still hold what was read are deleted; others were replaced meanwhile.
    std::vector<ScheduleRow> doomed;
    if (!marked.empty() &&
        !db.forEach(Columns + QStringLiteral(" WHERE rowid IN (SELECT value FROM json_each(?))"),
                    {idList(marked)}, [&](DataFile::Row q) {
                        const ScheduleRow now = readRow(q);
                        if (std::any_of(marked.begin(), marked.end(),
                                        [&](const ScheduleRow& r) { return sameRow(r, now); }))
                            doomed.push_back(now);
                        return true;
                    }))
        return fail(what, db.lastError());
    if (!db.exec(QStringLiteral("DELETE FROM Schedule WHERE SchType = 0 "
                                "OR rowid IN (SELECT value FROM json_each(?))"),
                 {idList(doomed)}) ||
        !transaction.commit())
        return fail(what, db.lastError());
    m_error.clear();
    return true;
}

SchemaPart ScheduleStore::tables() {
    SchemaPart part;
    part.create = {QStringLiteral("CREATE TABLE Schedule ("
                                  " SchType INTEGER NOT NULL DEFAULT 1,"
                                  " Launch TEXT NOT NULL DEFAULT '',"
                                  " SchDT TEXT NOT NULL,"
                                  " Frequency INTEGER NOT NULL DEFAULT 1)")};
    return part;
}
