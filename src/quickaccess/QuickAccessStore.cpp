// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/QuickAccessStore.h"

#include "data/DataFile.h"
#include "data/DateText.h"
#include "quickaccess/QuickAccessLog.h"

QuickAccessStore::QuickAccessStore(QString dataFile, ChangeHub* changes)
    : DataStore(std::move(dataFile), lcQuickAccess, changes) {}

bool QuickAccessStore::mostUsed(QList<Folder>& folders) {
    folders.clear();
    DataFile db = open();
    const bool ok =
        db.isOpen() && db.forEach(QStringLiteral("SELECT FullPath, Hits FROM QAccess WHERE Hits > 1"
                                                 " ORDER BY Hits DESC, rowid LIMIT ?"),
                                  {ListedFolders}, [&](DataFile::Row q) {
                                      folders.append({q.value(0).toString(), q.value(1).toInt()});
                                      return true;
                                  });
    if (!ok) {
        m_error = db.lastError();
        folders.clear();
        qCWarning(lcQuickAccess) << "QAccess not read:" << m_error;
    }
    return ok;
}

bool QuickAccessStore::clear() {
    DataFile db = open();
    if (db.isOpen() && db.exec(QStringLiteral("DELETE FROM QAccess")))
        return true;
    m_error = db.lastError();
    qCWarning(lcQuickAccess) << "QAccess not cleared:" << m_error;
    return false;
}

bool QuickAccessStore::allRows(QList<FolderTracking::Row>& rows) {
    rows.clear();
    DataFile db = open();
    const bool ok =
        db.isOpen() &&
        db.forEach(
            QStringLiteral("SELECT rowid, FullPath, Hits, qaDate FROM QAccess ORDER BY rowid"), {},
            [&](DataFile::Row q) {
                rows.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toInt(),
                             DateText::toDate(q.value(3))});
                return true;
            });
    if (ok)
        return true;
    rows.clear();
    return fail(QStringLiteral("folder tracking: reading QAccess"), db.lastError());
}

bool QuickAccessStore::apply(const FolderTracking::Changes& changes, const QDate& today) {
    DataFile db = open();
    Transaction transaction(db);
    if (!transaction.isActive())
        return fail(QStringLiteral("folder tracking: a transaction"), db.lastError());
    const QString day = DateText::fromDate(today);
    const auto run = [&db](const QString& sql, const QVariantList& values) {
        if (!db.exec(sql, values))
            qCWarning(lcQuickAccess) << "folder tracking:" << sql << "failed:" << db.lastError();
    };
    for (const FolderTracking::Row& row : changes.added)
        run(QStringLiteral("INSERT INTO QAccess (FullPath, Hits, qaDate) VALUES (?, 1, ?)"),
            {row.fullPath, day});
    for (qint64 rowId : changes.counted)
        run(QStringLiteral("UPDATE QAccess SET Hits = Hits + 1, qaDate = ? WHERE rowid = ?"),
            {day, rowId});
    for (qint64 rowId : changes.removed)
        run(QStringLiteral("DELETE FROM QAccess WHERE rowid = ?"), {rowId});
    if (!transaction.commit())
        return fail(QStringLiteral("folder tracking: the commit"), db.lastError());
    return true;
}

SchemaPart QuickAccessStore::tables() {
    SchemaPart part;
    part.create = {QStringLiteral("CREATE TABLE QAccess ("
                                  " FullPath TEXT NOT NULL,"
                                  " Hits INTEGER NOT NULL DEFAULT 1,"
                                  " qaDate TEXT NOT NULL)")};
    return part;
}
