// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/CaptureData.h"

#include "capture/CaptureStore.h"

ToolData captureData() {
    return {{CaptureStore::tables()}, ToolData::stores<CaptureStore>()};
}
