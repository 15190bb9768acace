// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/QuickAccessData.h"

#include "quickaccess/QuickAccessStore.h"

ToolData quickAccessData() {
    return {{QuickAccessStore::tables()}, ToolData::stores<QuickAccessStore>()};
}
