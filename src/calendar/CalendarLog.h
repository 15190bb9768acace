// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The calendar's background work (the holiday update) reports failures here; off unless
// QT_LOGGING_RULES="plumora.calendar=true".
Q_DECLARE_LOGGING_CATEGORY(lcCalendar)
