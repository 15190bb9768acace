// SPDX-License-Identifier: GPL-3.0-or-later
// Where Hunspell is linked in (tests, benchmarks), there is no module to load.
#include "platform/spell/HunspellModule.h"

void HunspellModule::use(const QString&) {}

const HunspellModule::Entries* HunspellModule::entries() {
    return &linkedEntries();
}

QString HunspellModule::failure() {
    return {};
}
