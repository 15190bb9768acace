// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// The calendar's part of the data file: its events, its subscriptions and its CalDAV account's
// events, in that order, with their stores; then its own settings.
ToolData calendarData();
