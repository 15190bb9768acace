// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DataFile.h"

#include "base/IdlePath.h"
#include "base/Log.h"
#include "data/SqliteGuard.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>

#include <utility>

#include <sys/stat.h>

namespace {
QString nextConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("plumora-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString errorText(const QSqlError& e) {
    // The driver and database texts are often the same; say it once.
    const QString db = e.databaseText().trimmed();
    const QString driver = e.driverText().trimmed();
    if (db.isEmpty() || db == driver)
        return driver;
    if (driver.isEmpty())
        return db;
    return driver + QStringLiteral(": ") + db;
}

bool isWordChar(QChar c) {
    return (c.isLetterOrNumber() && c.unicode() < 128) || c == u'_';
}

// Reads statements word by word; no regex engine, which would be loaded for the first write.
class SqlWords {
public:
    explicit SqlWords(QStringView sql) : m_sql(sql) {}
    QStringView next() {
        while (m_at < m_sql.size() && m_sql.at(m_at).isSpace())
            ++m_at;
        const qsizetype start = m_at;
        while (m_at < m_sql.size() && isWordChar(m_sql.at(m_at)))
            ++m_at;
        return m_sql.mid(start, m_at - start);
    }
    bool nextIs(const char* word) {
        return next().compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    // Skips one opening quote of a name: "name", [name], `name`.
    void skipQuote() {
        while (m_at < m_sql.size() && m_sql.at(m_at).isSpace())
            ++m_at;
        if (m_at < m_sql.size() && QStringView(u"\"[`").contains(m_sql.at(m_at)))
            ++m_at;
    }

private:
    QStringView m_sql;
    qsizetype m_at = 0;
};

// The table a data-changing statement writes ("INSERT [OR x] INTO", "REPLACE INTO",
// "UPDATE [OR x]", "DELETE FROM"); empty for any other statement.
QString writtenTable(const QString& sql) {
    SqlWords words(sql);
    const QStringView verb = words.next();
    const auto is = [&](const char* w) {
        return verb.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    };
    if (is("INSERT") || is("REPLACE") || is("UPDATE")) {
        SqlWords ahead = words;
        if (ahead.nextIs("OR")) {
            ahead.next();
            words = ahead;
        }
        if (!is("UPDATE") && !words.nextIs("INTO"))
            return {};
    } else if (!is("DELETE") || !words.nextIs("FROM")) {
        return {};
    }
    words.skipQuote();
    return words.next().toString();
}
} // namespace

DataFile::DataFile(const QString& path, Mode mode, CommitListener* changes)
    : m_path(path), m_changes(changes), m_connection(nextConnectionName()) {
    // SQLite creates a missing file on open; readers must not conjure an empty data file.
    if (mode == Existing && !QFileInfo(path).isFile()) {
        m_error = QCoreApplication::translate("DataFile", "data file not found: %1").arg(path);
        qCWarning(lcData) << "data file not found:" << path;
        return;
    }
    if (m_changes)
        m_changes->opening();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    // A file its owner made read-only is never written, even by a user who could.
    struct stat st {};
    const bool readOnly = ::stat(QFile::encodeName(path).constData(), &st) == 0 &&
                          S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000") +
                         (readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    if (!db.open()) {
        m_error = errorText(db.lastError());
        qCWarning(lcData) << "cannot open" << path << m_error;
        return;
    }
    m_open = true;
    hardenConnection(db);
    // A damaged file fails here already, which is what start-up recovery looks for.
    if (!exec(QStringLiteral("PRAGMA journal_mode=DELETE"))) {
        m_open = false;
        db.close();
    }
}

DataFile::~DataFile() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlQuery DataFile::run(const QString& sql, const QVariantList& values) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    if (!m_open) {
        if (m_error.isEmpty())
            m_error = QCoreApplication::translate("DataFile", "data file not open");
        return q;
    }
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        m_error = errorText(q.lastError());
        qCWarning(lcData) << "statement refused:" << m_error;
        return q;
    }
    for (const QVariant& v : values)
        q.addBindValue(v);
    // A write on its own is its own transaction: the file's stamp before it tells the hub
    // whether someone else wrote since.
    const qint64 before = !m_inTransaction && !writtenTable(sql).isEmpty()
                              ? fileModifiedStamp(m_path)
                              : m_stampBefore;
    if (!q.exec()) {
        m_error = errorText(q.lastError());
        qCWarning(lcData) << "statement failed:" << m_error;
    } else {
        noteWrite(sql, before);
    }
    return q;
}

void DataFile::noteWrite(const QString& sql, qint64 stampBefore) {
    const QString table = writtenTable(sql);
    if (table.isEmpty())
        return;
    if (!m_inTransaction)
        announce({table}, stampBefore);
    else if (!m_written.contains(table))
        m_written.append(table);
}

bool DataFile::exec(const QString& sql, const QVariantList& values) {
    return run(sql, values).isActive();
}

qint64 DataFile::insert(const QString& sql, const QVariantList& values) {
    const QSqlQuery q = run(sql, values);
    return q.isActive() ? q.lastInsertId().toLongLong() : 0;
}

int DataFile::change(const QString& sql, const QVariantList& values) {
    const QSqlQuery q = run(sql, values);
    return q.isActive() ? q.numRowsAffected() : -1;
}

bool DataFile::forEach(const QString& sql, const QVariantList& values,
                       const std::function<bool(Row)>& visit) {
    QSqlQuery q = run(sql, values);
    if (!q.isActive())
        return false;
    while (q.next()) {
        if (!visit(q))
            return true;
    }
    if (q.lastError().isValid()) {
        m_error = errorText(q.lastError());
        qCWarning(lcData) << "reading failed:" << m_error;
        return false;
    }
    return true;
}

QVariant DataFile::scalar(const QString& sql, const QVariantList& values) {
    QVariant value;
    forEach(sql, values, [&](Row row) {
        value = row.value(0);
        return false;
    });
    return value;
}

int DataFile::userVersion() {
    bool ok = false;
    const int v = scalar(QStringLiteral("PRAGMA user_version")).toInt(&ok);
    return ok ? v : -1;
}

bool DataFile::setUserVersion(int version) {
    // PRAGMA takes no bound values; the number is ours, never the user's.
    return exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

bool DataFile::begin() {
    if (!m_open) {
        if (m_error.isEmpty())
            m_error = QCoreApplication::translate("DataFile", "data file not open");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        m_error = errorText(db.lastError());
        qCWarning(lcData) << "cannot begin a transaction:" << m_error;
        return false;
    }
    m_inTransaction = true;
    m_written.clear();
    m_stampBefore = fileModifiedStamp(m_path);
    return true;
}

bool DataFile::commit() {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!m_open || !db.commit()) {
        m_error = errorText(db.lastError());
        qCWarning(lcData) << "commit failed:" << m_error;
        return false;
    }
    m_inTransaction = false;
    announce(std::exchange(m_written, {}), m_stampBefore);
    return true;
}

void DataFile::announce(const QStringList& tables, qint64 stampBefore) {
    if (m_changes)
        m_changes->committed(tables, stampBefore);
}

void DataFile::rollback() {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (m_open)
        db.rollback();
    m_inTransaction = false;
    m_written.clear();
}

QStringList DataFile::columns(const QString& table) {
    QStringList names;
    if (!m_open)
        return names;
    const QSqlRecord rec = QSqlDatabase::database(m_connection, false).record(table);
    for (int i = 0; i < rec.count(); ++i)
        names << rec.fieldName(i);
    return names;
}

Transaction::Transaction(DataFile& db) : m_db(db), m_active(db.begin()) {}

Transaction::~Transaction() {
    if (m_active)
        m_db.rollback();
}

bool Transaction::commit() {
    if (!m_active)
        return false;
    m_active = false;
    if (m_db.commit())
        return true;
    m_db.rollback();
    return false;
}

qint64 fileModifiedStamp(const QString& path) {
    return fileModifiedStamp(QFile::encodeName(path));
}

qint64 fileModifiedStamp(const QByteArray& encodedPath) {
    return fileState(encodedPath).modifiedNs;
}

PLUMORA_IDLE_PATH FileState fileState(const QByteArray& encodedPath) {
    struct stat st {};
    if (encodedPath.isEmpty() || ::stat(encodedPath.constData(), &st) != 0)
        return {};
    return {qint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}
