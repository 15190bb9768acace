// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// Screen Capture's part of the data file: the stored pictures and their store.
ToolData captureData();
