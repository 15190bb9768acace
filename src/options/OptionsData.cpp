// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/OptionsData.h"

ToolData optionsData() {
    return {};
}
