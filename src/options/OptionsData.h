// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// Options writes the settings: no tables or stores of its own.
ToolData optionsData();
