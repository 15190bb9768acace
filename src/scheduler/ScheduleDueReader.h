// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/DueEntries.h"

// The Power Scheduler's due entries: each Schedule row with a frequency starts its
// program or the ShutDown helper when it fires. A row that cannot fire (no date, or of no
// known type) is left out. False when the rows could not be read.
bool readScheduledEntries(DataFile& db, const AppPaths& paths, QList<DueEntry>& entries);
