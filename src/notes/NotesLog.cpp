#include "notes/NotesLog.h"

Q_LOGGING_CATEGORY(lcNotes, "plumora.notes", QtCriticalMsg)
