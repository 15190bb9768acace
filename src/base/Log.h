// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Why something in the background did not happen. Every category is off by default; a user
// switches them on with QT_LOGGING_RULES="plumora.*=true".
Q_DECLARE_LOGGING_CATEGORY(lcData)    // plumora.data: the data file
Q_DECLARE_LOGGING_CATEGORY(lcTick)    // plumora.tick: the minute tick and its jobs
Q_DECLARE_LOGGING_CATEGORY(lcStartup) // plumora.startup: start-up steps and jobs
Q_DECLARE_LOGGING_CATEGORY(lcDesktop) // plumora.desktop: the desktop services
