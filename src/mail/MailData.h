// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// The mail watch keeps its account in the settings: no tables or stores of its own.
ToolData mailData();
