// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Log.h"

// QtCriticalMsg: warnings stay silent unless the user enables the category.
Q_LOGGING_CATEGORY(lcData, "plumora.data", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcTick, "plumora.tick", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcStartup, "plumora.startup", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcDesktop, "plumora.desktop", QtCriticalMsg)
