// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/DueEntries.h"
#include "shell/MinuteGate.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What fell due while the tick was not running (the computer asleep, the clock set
// forward). Alarms are for people: a note alarm that came due in the gap is shown once,
// late, and says so. Scheduled actions are not: a program, a shut-down or a hibernation
// that came due in the gap is never run late, only listed as skipped.
namespace MissedMinutes {

// The latest minute of `gap` in which `entry` was due; none when it never was.
std::optional<WallMinute> lastDueIn(const DueEntry& entry, const MinuteGap& gap);

struct Missed {
    WallMinute at;
    DueEntry entry;
};
struct Review {
    QList<Missed> lateAlarms; // alarms (entries without a name): shown now, once each
    QList<Missed> skipped;    // programs, shut-downs, hibernations: not run
};
// Each entry due inside `gap` once, at its latest minute there, in the order of `entries`.
Review review(const QList<DueEntry>& entries, const MinuteGap& gap);

// "10:00 — while this computer was asleep"; a minute of another day than `today` carries
// its date.
QString lateMark(const WallMinute& at, const QDate& today);
// "Not run: shut down at 10:00", for a skipped action.
QString skippedLine(const Missed& missed, const QDate& today);

// The notice's text from the jobs' lines: at most `maxLines` of them, then how many more.
QString notice(const QStringList& lines, int maxLines = 4);

} // namespace MissedMinutes
