// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class QPainter;

#include "notes/ui/NotesPage.h"

struct AppContext;

// Quick Notes as the shell shows it.
ToolDescriptor notesDescriptor();
// The same with its tool object (NotesTool): its page, its notices, its alarm (which shows
// the tool) and the save of its open work. A note's alarm is edited with the editor another
// tool offers as ScheduleEditingOffer (the Power Scheduler's).
ToolDescriptor notesTool(AppContext& context);
// Its picture on the 32-unit grid of Artwork.
void paintNotesIcon(QPainter& p);
