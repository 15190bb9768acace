// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Background failures of Quick Access; off unless QT_LOGGING_RULES enables it.
Q_DECLARE_LOGGING_CATEGORY(lcQuickAccess)
