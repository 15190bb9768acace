// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// Quick Notes' part of the data file: the notes and their store.
ToolData notesData();
