// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Quick Notes' background failures (a note that cannot be read or saved in full). Off
// unless QT_LOGGING_RULES="plumora.notes=true".
Q_DECLARE_LOGGING_CATEGORY(lcNotes)
