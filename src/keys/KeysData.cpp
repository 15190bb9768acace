// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeysData.h"

#include "keys/Shortcuts.h"

ToolData keysData() {
    return {{Shortcuts::tables()}, {}};
}
