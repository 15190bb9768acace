// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/DueEntries.h"

// Quick Notes' due entries: each note with a schedule brings up Quick Notes when it fires.
// A note whose time does not read is left out. False when the notes could not be read.
bool readNoteAlarms(DataFile& db, const AppPaths& paths, QList<DueEntry>& entries);

// The id of a note alarm's action (DueEntry::action).
inline constexpr char NoteAlarmAction[] = "QNotes.alarm";

// A note alarm brings up Quick Notes through `alarm`; notes due while the tick was not
// running, through `lateAlarm` with the minutes they were due at.
DueAction noteAlarmAction(std::function<void()> alarm,
                          std::function<void(const QList<QDateTime>&)> lateAlarm);
