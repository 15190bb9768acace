// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// The Power Scheduler's part of the data file: its entries and their store.
ToolData scheduleData();
