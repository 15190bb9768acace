// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

struct AppContext;

// The keyboard shortcuts as the shell takes them: no page, only its table.
ToolDescriptor keysDescriptor();
// The same with its object (Shortcuts), its group of Options and its jobs: at start-up the
// stored keys are bound, each minute they are checked to be still held. A key pressed runs
// its action as the command line would.
ToolDescriptor keysTool(AppContext& context);
