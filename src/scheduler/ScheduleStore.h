// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataStore.h"
#include "scheduler/ScheduleRow.h"

#include <QLoggingCategory>
#include <QString>

#include <vector>

Q_DECLARE_LOGGING_CATEGORY(lcScheduler)

// Reads and writes the Schedule table of one data file. Each call opens the file, runs
// its statements and closes it again. Rows are addressed by rowid, never by their place in
// a list, and a write first checks that the row still holds what was read, so an entry
// another writer added, changed or removed meanwhile is never mistaken for the one being
// edited. A call that fails leaves the reason in lastError().
class ScheduleStore : public DataStore {
public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    explicit ScheduleStore(QString dataFile, ChangeHub* changes = nullptr);

    // Every row, ordered by SchDT (rows of equal SchDT in table order). False on failure,
    // with `rows` empty.
    bool readAll(std::vector<ScheduleRow>& rows);

    // Adds `row` (its rowId is ignored) and returns the new rowid, or 0 on failure.
    qint64 add(const ScheduleRow& row);

    enum class Update { Done, Vanished, Failed };
    // Writes `after` over the row `before` was read from. Vanished, writing nothing, when
    // that row no longer holds `before` (another writer deleted or changed it meanwhile).
    Update update(const ScheduleRow& before, const ScheduleRow& after);

    // Closing the list: deletes the `marked` rows that still hold what was read and every
    // row already at type 0, in one transaction, so a failure leaves the table as it was.
    bool applyMarks(const std::vector<ScheduleRow>& marked);

    // SchDT as stored: "YYYY-MM-DD HH:MM", the text the tick reads to the minute.
    static QString schDT(const QDate& date, const QTime& time);

private:
};
