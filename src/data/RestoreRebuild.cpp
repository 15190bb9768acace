// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/RestoreRebuild.h"

#include "base/Log.h"
#include "data/DataFile.h"
#include "data/FileSchema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QUrl>
#include <QVariant>

#include <optional>

#include <sqlite3.h>

namespace RestoreRebuild {

namespace {

// One of the schema's indexes (`own`), or SQLite's own for its keys.
bool isOwnIndex(const QStringList& own, const QString& name) {
    return name.startsWith(QLatin1String("sqlite_autoindex_"), Qt::CaseInsensitive) ||
           own.contains(name, Qt::CaseInsensitive);
}

// One of the schema's tables (`own`) under its own spelling; empty when it is none.
QString knownTable(const QStringList& own, const QString& name) {
    for (const QString& table : own) {
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    }
    return {};
}

QString quoted(const QString& identifier) {
    QString q = identifier;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QByteArray literal(const QString& text) {
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return "'" + q.toUtf8() + "'";
}

// A read-only connection to the file being restored, on which nothing the file carries
// can run: no views, no triggers, no functions from its schema, and every statement is
// stopped once it has run longer than the limit.
class SourceDb {
public:
    SourceDb(const QString& path, const Limits& limits) : m_limits(limits) {
        // immutable: no lock, no journal or WAL recovery, so the file is never written.
        const QString uri = QStringLiteral("file:") +
                            QString::fromLatin1(QUrl::toPercentEncoding(
                                QFileInfo(path).absoluteFilePath(), QByteArrayLiteral("/"))) +
                            QStringLiteral("?mode=ro&immutable=1");
        if (sqlite3_open_v2(uri.toUtf8().constData(), &m_db,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_PRIVATECACHE,
                            nullptr) != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            return;
        }
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
        sqlite3_progress_handler(m_db, 100, &SourceDb::progress, this);
        m_ok = true;
    }
    ~SourceDb() { sqlite3_close_v2(m_db); }
    SourceDb(const SourceDb&) = delete;
    SourceDb& operator=(const SourceDb&) = delete;

    bool isOpen() const { return m_ok; }
    bool timedOut() const { return m_timedOut; }
    QString error() const { return m_error; }

    // Runs `sql`, handing each row to `visit`; false on any error or when the time is up.
    template <typename Visit> bool query(const char* sql, Visit visit) {
        return query(QByteArray(sql), visit);
    }
    template <typename Visit> bool query(const QByteArray& sql, Visit visit) {
        sqlite3_stmt* stmt = nullptr;
        m_clock.start();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) !=
            SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            return false;
        }
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!visit(stmt))
                break;
        }
        const bool ok = rc == SQLITE_ROW || rc == SQLITE_DONE;
        if (!ok)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(stmt);
        return ok;
    }

    static QString text(sqlite3_stmt* stmt, int column) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return p ? QString::fromUtf8(p, sqlite3_column_bytes(stmt, column)) : QString();
    }

    static QVariant value(sqlite3_stmt* stmt, int column) {
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(stmt, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, column);
        case SQLITE_TEXT:
            return text(stmt, column);
        case SQLITE_BLOB: {
            const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, column));
            return QByteArray(p, sqlite3_column_bytes(stmt, column));
        }
        default:
            return QVariant();
        }
    }

private:
    static int progress(void* self) {
        auto* db = static_cast<SourceDb*>(self);
        if (db->m_clock.elapsed() <= db->m_limits.msPerStatement)
            return 0;
        db->m_timedOut = true;
        return 1;
    }

    sqlite3* m_db = nullptr;
    Limits m_limits;
    QElapsedTimer m_clock;
    QString m_error;
    bool m_ok = false;
    bool m_timedOut = false;
};

Source refuse(Verdict verdict, const QString& reason) {
    Source s;
    s.verdict = verdict;
    s.reason = reason;
    return s;
}

Source notDataFile() {
    return refuse(Verdict::NotDataFile,
                  QCoreApplication::translate("RestoreRebuild", "it is not a Plumora data file"));
}

Source tooSlow(const Limits& limits) {
    return refuse(
        Verdict::OverLimit,
        QCoreApplication::translate("RestoreRebuild", "reading it took longer than %1 seconds")
            .arg(limits.msPerStatement / 1000.0));
}

// The known tables the source holds, under Plumora's spelling, with the name as stored.
using Tables = QHash<QString, QString>;

Source examineOpen(const FileSchema& schema, SourceDb& db, const Limits& limits, Tables* tables) {
    Source s;
    db.query("PRAGMA user_version", [&](sqlite3_stmt* stmt) {
        s.version = sqlite3_column_int(stmt, 0);
        return false;
    });
    bool sawSystem = false;
    // Read from the schema once, not for each of the file's objects (a hostile file may
    // list very many).
    const QStringList ownTables = schema.tableNames();
    const QStringList ownIndexes = schema.indexNames();
    const bool listed = db.query(
        "SELECT type, name, sql FROM sqlite_master ORDER BY type, name", [&](sqlite3_stmt* stmt) {
            const QString type = SourceDb::text(stmt, 0);
            const QString name = SourceDb::text(stmt, 1);
            const QString sql = SourceDb::text(stmt, 2);
            const QString known = knownTable(ownTables, name);
            const bool plainTable =
                type == QLatin1String("table") &&
                !sql.startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive);
            if (plainTable && !known.isEmpty()) {
                tables->insert(known, name);
                sawSystem = sawSystem || known == QLatin1String("System");
            } else if (type == QLatin1String("index") && isOwnIndex(ownIndexes, name)) {
            } else if (type == QLatin1String("table") &&
                       name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)) {
            } else {
                s.leftOut << type + QLatin1Char(' ') + name;
            }
            return true;
        });
    if (!listed)
        return db.timedOut() ? tooSlow(limits) : notDataFile();
    if (!sawSystem)
        return notDataFile();
    if (s.version > schema.currentVersion())
        return refuse(Verdict::Newer, QCoreApplication::translate(
                                          "RestoreRebuild",
                                          "it was made by a newer version of Plumora (data version "
                                          "%1; this version reads up to %2)")
                                          .arg(s.version)
                                          .arg(schema.currentVersion()));
    qint64 rows = -1;
    const QByteArray count = "SELECT count(*) FROM " + quoted(tables->value("System")).toUtf8();
    if (!db.query(count, [&](sqlite3_stmt* stmt) {
            rows = sqlite3_column_int64(stmt, 0);
            return false;
        }))
        return db.timedOut() ? tooSlow(limits) : notDataFile();
    if (rows != 1)
        return notDataFile();
    s.verdict = Verdict::Accepted;
    return s;
}

Source examineFile(const FileSchema& schema, const QString& path, const Limits& limits,
                   std::optional<SourceDb>& db, Tables* tables) {
    const QFileInfo info(path);
    if (!info.isFile())
        return notDataFile();
    if (info.size() > limits.maxBytes)
        return refuse(Verdict::OverLimit,
                      QCoreApplication::translate("RestoreRebuild", "it is larger than %1 MB")
                          .arg(limits.maxBytes / (1024 * 1024)));
    db.emplace(path, limits);
    if (!db->isOpen())
        return notDataFile();
    return examineOpen(schema, *db, limits, tables);
}

struct Column {
    QString name; // Plumora's spelling
    bool notNull = false;
};

// The columns of one of Plumora's tables in the new file.
QList<Column> targetColumns(DataFile& target, const QString& table) {
    QList<Column> columns;
    target.forEach(QStringLiteral("SELECT name, \"notnull\" FROM pragma_table_info(?)"), {table},
                   [&](DataFile::Row row) {
                       columns.append({row.value(0).toString(), row.value(1).toInt() != 0});
                       return true;
                   });
    return columns;
}

// Copies one table's rows, with their rowids, column by column as values. Returns the
// number of rows the new file refused, or -1 when the source could not be read.
qint64 copyTable(SourceDb& source, const QString& storedName, DataFile& target,
                 const QString& table) {
    QStringList sourceColumns;
    source.query("SELECT name FROM pragma_table_info(" + literal(storedName) + ")",
                 [&](sqlite3_stmt* stmt) {
                     sourceColumns << SourceDb::text(stmt, 0);
                     return true;
                 });
    QList<Column> columns;
    for (const Column& column : targetColumns(target, table)) {
        for (const QString& name : std::as_const(sourceColumns)) {
            if (name.compare(column.name, Qt::CaseInsensitive) == 0)
                columns.append(column);
        }
    }
    QByteArray select = "SELECT rowid";
    for (const Column& column : std::as_const(columns))
        select += ", " + quoted(column.name).toUtf8();
    select += " FROM " + quoted(storedName).toUtf8() + " ORDER BY rowid";

    qint64 refused = 0;
    const bool read = source.query(select, [&](sqlite3_stmt* stmt) {
        QStringList names{QStringLiteral("rowid")};
        QVariantList values{SourceDb::value(stmt, 0)};
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant value = SourceDb::value(stmt, i + 1);
            // A missing value in a column that needs one takes the column's default.
            if (!value.isValid() && columns[i].notNull)
                continue;
            names << quoted(columns[i].name);
            values << value;
        }
        const QString sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, names.join(QLatin1Char(',')),
                     QStringList(values.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        if (!target.exec(sql, values))
            ++refused;
        return true;
    });
    return read ? refused : -1;
}

} // namespace

Source examine(const FileSchema& schema, const QString& path, const Limits& limits) {
    std::optional<SourceDb> db;
    Tables tables;
    return examineFile(schema, path, limits, db, &tables);
}

Outcome rebuild(const FileSchema& schema, const QString& path, const QString& target,
                const Limits& limits) {
    Outcome out;
    std::optional<SourceDb> source;
    Tables tables;
    out.source = examineFile(schema, path, limits, source, &tables);
    if (out.source.verdict != Verdict::Accepted) {
        out.error = out.source.reason;
        return out;
    }
    DataFile db(target, DataFile::Create);
    Transaction t(db);
    if (!t.isActive()) {
        out.error = db.lastError();
        return out;
    }
    for (const QString& sql : schema.createStatements()) {
        if (!db.exec(sql)) {
            out.error = db.lastError();
            return out;
        }
    }
    for (const QString& table : schema.tableNames()) {
        if (!tables.contains(table))
            continue;
        const qint64 refused = copyTable(*source, tables.value(table), db, table);
        if (refused < 0) {
            out.error =
                source->timedOut()
                    ? tooSlow(limits).reason
                    : QCoreApplication::translate("RestoreRebuild", "table %1 cannot be read: %2")
                          .arg(table, source->error());
            return out;
        }
        if (refused > 0)
            out.source.leftOut << QCoreApplication::translate("RestoreRebuild",
                                                              "%1 rows of %2 that are not valid")
                                      .arg(refused)
                                      .arg(table);
    }
    for (const QString& sql : schema.rowRepairs()) {
        if (!db.exec(sql)) {
            out.error = db.lastError();
            return out;
        }
    }
    if (db.scalar(QStringLiteral("SELECT count(*) FROM System")).toLongLong() != 1) {
        out.error =
            QCoreApplication::translate("RestoreRebuild", "its settings row cannot be read");
        return out;
    }
    // The owned tables are of today's shape now, whatever version the source recorded.
    if (!schema.recordOwnedVersions(db) || !db.setUserVersion(schema.currentVersion()) ||
        !t.commit()) {
        out.error = db.lastError();
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace RestoreRebuild
