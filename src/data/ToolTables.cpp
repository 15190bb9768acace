// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ToolTables.h"

#include "base/Log.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"

namespace {
const QString VersionTable = QStringLiteral("ToolVersions");

bool setVersion(DataFile& db, const QString& tool, int version) {
    return db.exec(QStringLiteral("INSERT OR REPLACE INTO ToolVersions (Tool, Version) "
                                  "VALUES (?, ?)"),
                   {tool, version});
}
} // namespace

int ToolTables::version(DataFile& db) const {
    if (db.columns(VersionTable).isEmpty())
        return 0;
    return db.scalar(QStringLiteral("SELECT Version FROM ToolVersions WHERE Tool = ?"), {tool})
        .toInt();
}

QString ToolTables::apply(DataFile& db) const {
    if (!db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS ToolVersions ("
                                " Tool TEXT PRIMARY KEY, Version INTEGER NOT NULL)")))
        return db.lastError();
    const int stored = version(db);
    const int current = int(steps.size());
    if (stored > current) {
        qCWarning(lcData) << "tables of" << tool << "are at version" << stored
                          << "beyond this program's" << current << "- left unchanged";
        return {};
    }
    if (stored == 0 && db.scalar(QStringLiteral("SELECT COUNT(*) FROM ToolVersions "
                                                "WHERE Tool = ?"),
                                 {tool})
                               .toInt() == 0) {
        // Made fresh at the latest version: the steps are history for older files.
        Transaction t(db);
        bool ok = t.isActive();
        for (const QString& sql : create)
            ok = ok && db.exec(sql);
        if (!ok || !setVersion(db, tool, current) || !t.commit())
            return db.lastError();
        return {};
    }
    for (int v = stored; v < current; ++v) {
        Transaction t(db);
        bool ok = t.isActive();
        for (const QString& sql : steps[v])
            ok = ok && db.exec(sql);
        if (!ok || !setVersion(db, tool, v + 1) || !t.commit())
            return db.lastError();
    }
    return {};
}

void ToolTablesJob::run() {
    DataFile db(m_dataFile, m_changes);
    const QString error = db.isOpen() ? m_tables.apply(db) : db.lastError();
    if (!error.isEmpty())
        qCWarning(lcData) << "tables of" << m_tables.tool << "not made:" << error;
}
