// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AppPaths.h"
#include "data/Settings.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <functional>

class DataFile;

// One row of a tool's table that can fire (Frequency > 0), ready for the firing rules.
struct DueEntry {
    QDate date; // date part of SchDT
    QTime time; // hour and minute of SchDT
    int frequency = 0;
    // What it does: the id its tool registered its handler under (Tick::addDueAction).
    QString action;
    // How the missed-entries notice names it when it is never run late ("shut down");
    // none for an alarm, which is shown late instead.
    QString name;
    QString program;
    QStringList arguments;
};

// What the entries of one action do, given by their tool.
struct DueAction {
    // Runs an entry at its minute.
    std::function<void(const DueEntry& entry)> fire;
    // For an alarm (for people): entries that came due while the tick was not running are
    // shown late, once, with the minutes they were due at, all of this action's together.
    // None: such entries are never run late, only listed as not run.
    std::function<void(const QList<QDateTime>& minutes)> fireLate;
    // The missed-entries notice's name for a late alarm ("Note alarm").
    QString lateName;
};
using DueActions = QHash<QString, DueAction>;

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
// `readers` are the tools' own (ToolDescriptor::dueReader), in the order of the tools: each
// appends its rows that can fire, leaving out a row that cannot (no date, of no known
// type) rather than stopping the reload, and its failure counts as the reload's.
using DueReader =
    std::function<bool(DataFile& db, const AppPaths& paths, QList<DueEntry>& entries)>;
bool loadTickCache(const QString& dataFile, const AppPaths& paths, TickCache& cache,
                   const QList<DueReader>& readers = {});
