// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AppPaths.h"
#include "data/Settings.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <functional>

class DataFile;

// What a due-able entry does when it fires.
enum class DueAction {
    NoteAlarm, // a scheduled note: bring up Quick Notes
    Program,   // start `program` (the Launch path) with no arguments
    ShutDown,  // start the ShutDown helper with "0" (hibernate) or "1" (power off)
};

// One row of a tool's table that can fire (Frequency > 0), ready for the firing rules.
struct DueEntry {
    QDate date; // date part of SchDT
    QTime time; // hour and minute of SchDT
    int frequency = 0;
    DueAction action = DueAction::NoteAlarm;
    QString program;
    QStringList arguments;
};

// The tick's cached copy of the data file.
struct TickCache {
    Settings settings;
    bool hasDueEntries = false;
    QList<DueEntry> entries;
};

// SchDT as its date and its hour and minute (seconds dropped). False when the value does
// not read as a date and time.
bool readDue(const QVariant& value, QDate& date, QTime& time);

// Reloads `cache` from the data file at `dataFile`. Returns false when any read failed;
// the reload then stops there and what it had read stays in the cache: a failure while
// reading the settings leaves the entries as they were, a failure while reading entries
// leaves those read before it. The settings are read in the order of Settings::Field and a
// column that holds no value at all is a failure.
// `readers` are the tools' own (ToolTables::dueReader), in the order of the tools: each
// appends its rows that can fire, leaving out a row that cannot (no date, of no known
// type) rather than stopping the reload, and its failure counts as the reload's.
using DueReader =
    std::function<bool(DataFile& db, const AppPaths& paths, QList<DueEntry>& entries)>;
bool loadTickCache(const QString& dataFile, const AppPaths& paths, TickCache& cache,
                   const QList<DueReader>& readers = {});
