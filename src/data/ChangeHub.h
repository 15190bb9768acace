// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataFile.h"
#include "data/Settings.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>

// Tells open windows and jobs that a table of the data file changed, so they re-read it
// instead of being rebuilt. Every committed write through a DataFile on the hub's file is
// announced (once per table per turn of the event loop, after the write); the tick turns
// a change made by another process into the same signal for every table.
// One hub per data file, made with the stores where the program is put together and
// handed to them, to the start-up steps and jobs that write, and to whoever listens.
// It also tells which settings changed, whoever wrote them.
class ChangeHub : public QObject, public CommitListener {
    Q_OBJECT
public:
    // `tables` are the file's tables, each announced when the whole file changed.
    ChangeHub(const QString& dataFile, QStringList tables, QObject* parent = nullptr);
    ~ChangeHub() override;

    const QString& dataFile() const { return m_dataFile; }
    // Adds the tables of a tool added after the hub was made, announced with the others.
    void addTables(const QStringList& tables);

    // A write in this process committed changes to `tables`; any thread, as long as the hub
    // lives. `stampBefore` is the file's stamp from just before the write: when it is not
    // the stamp the hub last accounted for, another process wrote in between, and every
    // table is announced.
    void committed(const QStringList& tables, qint64 stampBefore = -1) override;
    // How many writes were committed through the hub so far (any thread): what was learnt of
    // the file before a write holds as long as this count stays.
    quint64 commits() const { return m_commits.load(std::memory_order_acquire); }
    // Takes the settings' baseline before the first read or write through the hub.
    void opening() override;

    // The data file's stamp as this process last accounted for it (its own latest write, or
    // what the tick last saw), -1 before any: a stamp the tick finds different from it was
    // left by someone else.
    qint64 ownStamp() const { return m_ownStamp; }
    void setOwnStamp(qint64 stamp) { m_ownStamp = stamp; }
    // Another process changed the file, or a restore replaced it: every table is announced,
    // by changedElsewhere() as well.
    void announceAll();
    // Announces `table` as changed (on the next turn of the event loop).
    void announce(const QString& table);

Q_SIGNALS:
    void changed(const QString& table);
    // After changed(table), when the change did not come through this process's own writes
    // (another process, a replaced file): a page that keeps unsaved work of its own re-reads
    // only then.
    void changedElsewhere(const QString& table);
    // After changed("System"): the settings whose value differs from the last reading.
    void settingsChanged(const QList<Settings::Field>& fields);

private:
    void flush();
    void compareSettings();
    void readBaseline();

    QString m_dataFile;
    QStringList m_tables;
    qint64 m_ownStamp = -1;
    QSet<QString> m_pending;
    bool m_elsewhere = false; // the pending tables were announced by announceAll()
    QStringList m_order;
    std::optional<Settings> m_settings; // as read at the baseline or the last change
    qint64 m_baselineStamp = -1;        // the file's stamp when the hub was made
    bool m_baselinePending = false;
    std::atomic<quint64> m_commits{0};
};
