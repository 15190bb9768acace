// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/QAccessStore.h"

#include "core/DataFile.h"
#include "quickaccess/QuickAccessLog.h"

QAccessStore::QAccessStore(QString dataFile) : DataStore(std::move(dataFile), lcQuickAccess) {}

bool QAccessStore::mostUsed(QList<Folder>& folders) {
    folders.clear();
    DataFile db(m_path);
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

bool QAccessStore::clear() {
    DataFile db(m_path);
    if (db.isOpen() && db.exec(QStringLiteral("DELETE FROM QAccess")))
        return true;
    m_error = db.lastError();
    qCWarning(lcQuickAccess) << "QAccess not cleared:" << m_error;
    return false;
}
