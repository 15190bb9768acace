// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/DueEntries.h"

#include <functional>

class DesktopShell;

// The Power Scheduler's due entries: each Schedule row with a frequency starts its
// program or the ShutDown helper when it fires. A row that cannot fire (no date, or of no
// known type) is left out. False when the rows could not be read.
bool readScheduledEntries(DataFile& db, const AppPaths& paths, QList<DueEntry>& entries);

// The ids of the scheduler's due actions (DueEntry::action).
inline constexpr char ScheduledProgramAction[] = "Schedule.program";
inline constexpr char ScheduledShutDownAction[] = "Schedule.shutDown";

// Whether a file lies on a local, non-removable disk.
using FixedDiskTest = std::function<bool(const QString& path)>;

// What the scheduler's entries do at their minute: a program is started only when it is an
// executable file given by its full path on a local fixed disk; a shut-down entry starts
// the ShutDown helper, after `beforeShutDown` (open work is saved first). Neither is ever
// run late.
DueActions scheduleDueActions(DesktopShell& shell, FixedDiskTest isFixedDisk,
                              std::function<void()> beforeShutDown);
