#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

// One operation's connection to a data file: opened by the constructor, closed by the
// destructor, never held between operations. The rollback journal (not WAL) makes every
// committed write touch the file itself, so its last-modified time tells the tick that
// something changed. Values always go in as bound parameters.
class DataFile {
public:
    enum Mode { Existing, Create };

    explicit DataFile(const QString& path, Mode mode = Existing);
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    bool isOpen() const { return m_open; }
    QString lastError() const { return m_error; }

    // Runs one statement with positional bound values; false (and lastError) on failure.
    bool exec(const QString& sql, const QVariantList& values = {});
    // Prepares and runs a statement whose rows the caller walks. Check isActive().
    QSqlQuery query(const QString& sql, const QVariantList& values = {});

    bool transaction();
    bool commit();
    void rollback();

    // Names of a table's columns as stored, in order (empty when the table is missing).
    QStringList columns(const QString& table);

private:
    QString m_connection;
    QString m_error;
    bool m_open = false;
};

// The time data.plm was last written, at the file system's full resolution (nanoseconds).
// Returns -1 when the file cannot be read.
qint64 fileModifiedStamp(const QString& path);
