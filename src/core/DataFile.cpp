#include "core/DataFile.h"

#include <QAtomicInteger>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>

#include <sys/stat.h>

namespace {
QString nextConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("plumora-%1").arg(counter.fetchAndAddRelaxed(1));
}
} // namespace

DataFile::DataFile(const QString& path, Mode mode) : m_connection(nextConnectionName()) {
    // SQLite creates a missing file on open; readers must not conjure an empty data file.
    if (mode == Existing && !QFileInfo(path).isFile()) {
        m_error = QStringLiteral("data file not found: ") + path;
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        m_error = db.lastError().text();
        return;
    }
    m_open = true;
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

bool DataFile::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery q = query(sql, values);
    return q.isActive();
}

QSqlQuery DataFile::query(const QString& sql, const QVariantList& values) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    if (!m_open) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("data file not open");
        return q;
    }
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        m_error = q.lastError().text();
        return q;
    }
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        m_error = q.lastError().text();
    return q;
}

bool DataFile::transaction() {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!m_open || !db.transaction()) {
        m_error = db.lastError().text();
        return false;
    }
    return true;
}

bool DataFile::commit() {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!m_open || !db.commit()) {
        m_error = db.lastError().text();
        return false;
    }
    return true;
}

void DataFile::rollback() {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (m_open)
        db.rollback();
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

qint64 fileModifiedStamp(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}
