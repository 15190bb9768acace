// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

// Told of each write committed through a DataFile it was given (the program's change hub),
// so the data file knows nothing of who follows its changes.
class CommitListener {
public:
    // A committed write touched `tables`; `stampBefore` is the file's stamp from just before
    // it (-1 when unknown). Called on the writer's thread.
    virtual void committed(const QStringList& tables, qint64 stampBefore) = 0;
    // A DataFile announcing to this listener is being opened, before anything is read or
    // written through it. Called on the opener's thread.
    virtual void opening() {}

protected:
    ~CommitListener() = default;
};

// One operation's connection to a data file: opened by the constructor, closed by the
// destructor, never held between operations. The rollback journal (not WAL) makes every
// committed write touch the file itself, so its last-modified time tells the tick that
// something changed. Values always go in as bound parameters. Each committed write is
// announced by the tables it touched to `changes`, when given: a writer whose changes open
// windows must follow is handed the program's hub.
class DataFile {
public:
    enum Mode { Existing, Create };

    explicit DataFile(const QString& path, Mode mode = Existing, CommitListener* changes = nullptr);
    DataFile(const QString& path, CommitListener* changes) : DataFile(path, Existing, changes) {}
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    bool isOpen() const { return m_open; }
    // The first error of this connection's latest failing call.
    QString lastError() const { return m_error; }

    // Runs one statement with positional bound values; false (and lastError) on failure.
    bool exec(const QString& sql, const QVariantList& values = {});
    // Runs an INSERT and gives the new row's rowid; 0 on failure.
    qint64 insert(const QString& sql, const QVariantList& values);
    // Runs an UPDATE or DELETE and gives the number of rows it changed; -1 on failure.
    int change(const QString& sql, const QVariantList& values);

    // A row as a visitor sees it: valid only inside the visit.
    using Row = const QSqlQuery&;
    // Runs a query and hands each row to `visit` until it returns false. False when the
    // statement or a step failed; rows visited before a failure stay visited.
    bool forEach(const QString& sql, const QVariantList& values,
                 const std::function<bool(Row)>& visit);
    // The first column of the first row, or an invalid QVariant when there is none.
    QVariant scalar(const QString& sql, const QVariantList& values = {});

    // Names of a table's columns as stored, in order (empty when the table is missing).
    QStringList columns(const QString& table);

    // The file's schema version (PRAGMA user_version); -1 when it cannot be read.
    int userVersion();
    bool setUserVersion(int version);

private:
    friend class Transaction;
    bool begin();
    bool commit();
    void rollback();
    QSqlQuery run(const QString& sql, const QVariantList& values);
    void noteWrite(const QString& sql, qint64 stampBefore);
    void announce(const QStringList& tables, qint64 stampBefore);

    QString m_path;
    CommitListener* m_changes = nullptr;
    QString m_connection;
    QStringList m_written; // tables written inside the open transaction
    bool m_inTransaction = false;
    qint64 m_stampBefore = -1; // the file's stamp when the open transaction began
    QString m_error;
    bool m_open = false;
};

// A transaction on an open data file that rolls back unless commit() was called, so an
// early return or a failed statement never leaves half a change.
class Transaction {
public:
    explicit Transaction(DataFile& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether the transaction began.
    bool isActive() const { return m_active; }
    bool commit();

private:
    DataFile& m_db;
    bool m_active = false;
};

// The time data.plm was last written, at the file system's full resolution (nanoseconds).
// Returns -1 when the file cannot be read.
qint64 fileModifiedStamp(const QString& path);
// The same for a path already encoded for the file system (QFile::encodeName).
qint64 fileModifiedStamp(const QByteArray& encodedPath);

// What tells that a file changed: a replaced file has a new inode, a rewritten one a new
// size or modification time (fileModifiedStamp). All -1 when the file is missing.
struct FileState {
    qint64 inode = -1;
    qint64 size = -1;
    qint64 modifiedNs = -1;
    bool operator==(const FileState&) const = default;
};
// For a path encoded for the file system (QFile::encodeName).
FileState fileState(const QByteArray& encodedPath);
