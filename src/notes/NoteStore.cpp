// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteStore.h"

#include "data/DataFile.h"
#include "data/DateText.h"
#include "notes/NotesLog.h"
#include "shell/DueEntries.h"

#include <QCoreApplication>
#include <QSqlQuery>

#include <cmath>

namespace {

const QString Columns = QStringLiteral("SELECT nID, nLeft, nTop, nWidth, nHeight, Content, ZOrder, "
                                       "CDate, Frequency, SchDT FROM QNotes");

int twips(const QVariant& v) {
    return int(std::lround(v.toDouble()));
}

NoteRecord readRow(const QSqlQuery& q) {
    NoteRecord r;
    r.id = q.value(0).toLongLong();
    r.geometry = QRect(twips(q.value(1)), twips(q.value(2)), twips(q.value(3)), twips(q.value(4)));
    r.content = q.value(5).isNull() ? QString() : q.value(5).toString();
    r.zOrder = q.value(6).toInt();
    r.created = DateText::toDate(q.value(7));
    r.frequency = q.value(8).toInt();
    QDate date;
    QTime time;
    if (readDue(q.value(9), date, time))
        r.due = QDateTime(date, time);
    return r;
}

} // namespace

NoteStore::NoteStore(QString dataFile, ChangeHub* changes)
    : DataStore(std::move(dataFile), lcNotes, changes) {}

bool NoteStore::load(QList<NoteRecord>& rows) {
    rows.clear();
    DataFile db = open();
    if (!db.forEach(Columns + QStringLiteral(" ORDER BY ZOrder DESC, nID"), {},
                    [&](DataFile::Row q) {
                        rows.append(readRow(q));
                        return true;
                    })) {
        rows.clear();
        return fail(QStringLiteral("reading the notes"), db.lastError());
    }
    m_error.clear();
    return true;
}

std::optional<NoteRecord> NoteStore::read(qint64 id) {
    DataFile db = open();
    std::optional<NoteRecord> found;
    if (!db.forEach(Columns + QStringLiteral(" WHERE nID = ?"), {id}, [&](DataFile::Row q) {
            found = readRow(q);
            return false;
        })) {
        fail(QStringLiteral("reading a note"), db.lastError());
        return std::nullopt;
    }
    if (!found)
        fail(QStringLiteral("reading a note"),
             QCoreApplication::translate("NoteStore", "the note is gone"));
    return found;
}

NoteRecord NoteStore::add(const QDate& created) {
    const QString what = QStringLiteral("adding a note");
    qint64 id = 0;
    {
        DataFile db = open();
        id = db.insert(QStringLiteral("INSERT INTO QNotes (CDate) VALUES (?)"),
                       {DateText::fromDate(created)});
        if (id == 0) {
            fail(what, db.lastError());
            return {};
        }
    }
    return read(id).value_or(NoteRecord{});
}

bool NoteStore::remove(qint64 id) {
    DataFile db = open();
    if (db.change(QStringLiteral("DELETE FROM QNotes WHERE nID = ?"), {id}) < 0)
        return fail(QStringLiteral("deleting a note"), db.lastError());
    m_error.clear();
    return true;
}

bool NoteStore::write(const QList<Write>& writes) {
    const QString what = QStringLiteral("saving the notes");
    if (writes.isEmpty())
        return true;
    DataFile db = open();
    Transaction transaction(db);
    if (!transaction.isActive())
        return fail(what, db.lastError());
    for (const Write& w : writes) {
        QStringList set;
        QVariantList values;
        if (w.zOrder) {
            set << QStringLiteral("ZOrder = ?");
            values << *w.zOrder;
        }
        if (w.content) {
            set << QStringLiteral("Content = ?");
            values << *w.content;
        }
        if (w.geometry) {
            set << QStringLiteral("nLeft = ?, nTop = ?, nWidth = ?, nHeight = ?");
            values << w.geometry->left() << w.geometry->top() << w.geometry->width()
                   << w.geometry->height();
        }
        if (set.isEmpty())
            continue;
        values << w.id;
        const int changed = db.change(QStringLiteral("UPDATE QNotes SET ") + set.join(u", ") +
                                          QStringLiteral(" WHERE nID = ?"),
                                      values);
        if (changed < 0)
            return fail(what, db.lastError());
        if (changed == 0)
            qCWarning(lcNotes) << "note" << w.id << "is no longer in the data file";
    }
    if (!transaction.commit())
        return fail(what, db.lastError());
    m_error.clear();
    return true;
}

bool NoteStore::writeSchedule(qint64 id, int frequency, const QDateTime& due) {
    DataFile db = open();
    const QVariant when = due.isValid() ? QVariant(DateText::fromDateTime(due))
                                        : QVariant(QMetaType::fromType<QString>());
    if (db.change(QStringLiteral("UPDATE QNotes SET Frequency = ?, SchDT = ? WHERE nID = ?"),
                  {frequency, when, id}) < 0)
        return fail(QStringLiteral("saving a note's alarm"), db.lastError());
    m_error.clear();
    return true;
}

SchemaPart NoteStore::tables() {
    SchemaPart part;
    // A new note is 240 x 180 pixels at the top left of the Quick Notes window.
    part.create = {QStringLiteral("CREATE TABLE QNotes ("
                                  " nID INTEGER PRIMARY KEY AUTOINCREMENT,"
                                  " nLeft REAL NOT NULL DEFAULT 120,"
                                  " nTop REAL NOT NULL DEFAULT 120,"
                                  " nWidth REAL NOT NULL DEFAULT 3600,"
                                  " nHeight REAL NOT NULL DEFAULT 2700,"
                                  " Content TEXT,"
                                  " ZOrder INTEGER NOT NULL DEFAULT 0,"
                                  " CDate TEXT,"
                                  " Frequency INTEGER NOT NULL DEFAULT 0,"
                                  " SchDT TEXT)")};
    return part;
}
