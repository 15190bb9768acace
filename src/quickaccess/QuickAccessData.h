// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// Quick Access' part of the data file: its tracked folders and lists, and their store.
ToolData quickAccessData();
