#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The action types of a Schedule row. Rows at MarkedForDeletion are removed when the
// schedule list closes; any other value is of no known type and never fires.
namespace ScheduleType {
enum : int { MarkedForDeletion = 0, LaunchProgram = 1, ShutDownSystem = 2 };
}

// One row of the Schedule table, found again by its rowid.
struct ScheduleRow {
    qint64 rowId = 0; // 0 for an entry not stored yet
    int schType = ScheduleType::LaunchProgram;
    QString launch; // program path (type 1), "H" to hibernate or "" to power off (type 2)
    QDate date;     // SchDT; invalid when the stored text does not read as a date
    QTime time;     // hour and minute of SchDT
    int frequency = 1;

    bool hibernates() const { return launch == QLatin1String("H"); }
};
