// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/DueEntries.h"

// Quick Notes' due entries: each note with a schedule brings up Quick Notes when it fires.
// A note whose time does not read is left out. False when the notes could not be read.
bool readNoteAlarms(DataFile& db, const AppPaths& paths, QList<DueEntry>& entries);
