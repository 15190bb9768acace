// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SqliteGuard.h"

#include "base/Log.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

bool hardenConnection(QSqlDatabase& db) {
    bool ok = QSqlQuery(db).exec(QStringLiteral("PRAGMA trusted_schema = OFF"));
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        qCWarning(lcData) << "no SQLite handle: defensive mode not set";
        return false;
    }
    sqlite3* h = *static_cast<sqlite3* const*>(handle.constData());
    if (!h)
        return false;
    for (const auto& [option, value] :
         {std::pair{SQLITE_DBCONFIG_DEFENSIVE, 1}, std::pair{SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0},
          std::pair{SQLITE_DBCONFIG_ENABLE_VIEW, 0}}) {
        int now = -1;
        if (sqlite3_db_config(h, option, value, &now) != SQLITE_OK || now != value)
            ok = false;
    }
    if (!ok)
        qCWarning(lcData) << "a connection could not be fully hardened";
    return ok;
}
