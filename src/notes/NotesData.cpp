// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NotesData.h"

#include "notes/NoteStore.h"

ToolData notesData() {
    return {{NoteStore::tables()}, ToolData::stores<NoteStore>()};
}
