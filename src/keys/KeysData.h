// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// The keyboard shortcuts' part of the data file: the KeySettings table.
ToolData keysData();
