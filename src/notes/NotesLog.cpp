// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NotesLog.h"

Q_LOGGING_CATEGORY(lcNotes, "plumora.notes", QtCriticalMsg)
