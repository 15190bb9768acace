// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

class CommitListener;

// A setting a tool keeps beside the program's own (Settings.h): one column of a one-row
// table that the tool brings in its schema part, such as
// "CREATE TABLE TallySettings (Step INTEGER)". Written through the data file, so the hub
// announces the change like any other.
class ToolSetting {
public:
    // `table` and `column` are the tool's own names (letters, digits, underscores).
    ToolSetting(QString dataFile, QString table, QString column, QVariant fallback = {},
                CommitListener* changes = nullptr);

    // The stored value; `fallback` when there is none (no row, NULL, unreadable file).
    QVariant value() const;
    // Stores `value`, making the row when the table has none. False when the write failed.
    bool set(const QVariant& value);

private:
    QString m_dataFile;
    QString m_table;
    QString m_column;
    QVariant m_fallback;
    CommitListener* m_changes = nullptr;
    bool m_named = false; // both names are plain identifiers
};
