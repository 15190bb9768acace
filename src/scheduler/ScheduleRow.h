// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scheduler/ScheduleType.h"

#include <QDate>
#include <QString>
#include <QTime>

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
