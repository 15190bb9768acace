// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/DueEntries.h"
#include "shell/Jobs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class AppPaths;
class ChangeHub;
class DataFile;

// What a tool keeps in the data file beside the tables every file is made with: its
// tables, their own migration steps and how its rows become the tick's due entries.
// Its tables are made on the first start-up that knows the tool; each step brings the
// tool's tables one version up, counted per tool in the ToolVersions table, so tools
// number their steps without knowing of each other. Append steps; never edit one.
struct ToolTables {
    QString tool; // the tool's id, the key of its version
    // "CREATE TABLE ..." and "CREATE INDEX ..." statements of a fresh file.
    QStringList create;
    // Step n (from 1) brings the tool's tables from version n - 1 to n.
    QList<QStringList> steps;
    // Appends the tool's rows that can fire; false when a read failed.
    DueReader dueReader;

    // Makes the tables when missing and runs the steps the file lacks, each step in its own
    // transaction with its version. Returns an error text, empty on success.
    QString apply(DataFile& db) const;
    // The version of the tool's tables in `db`; 0 before they were made.
    int version(DataFile& db) const;
};

// The start-up step that brings a tool's tables to its version, before its own jobs run.
class ToolTablesJob : public StartupJob {
public:
    ToolTablesJob(QString dataFile, ToolTables tables, ChangeHub* changes = nullptr)
        : m_dataFile(std::move(dataFile)), m_tables(std::move(tables)), m_changes(changes) {}
    const char* name() const override { return "tool tables"; }
    void run() override;

private:
    QString m_dataFile;
    ToolTables m_tables;
    ChangeHub* m_changes = nullptr;
};
