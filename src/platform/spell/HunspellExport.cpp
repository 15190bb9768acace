// SPDX-License-Identifier: GPL-3.0-or-later
// The module's one entry point: the table of calls on Hunspell.
#include "platform/spell/HunspellModule.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const HunspellModule::Entries* plumoraHunspellEntries() {
    return &HunspellModule::linkedEntries();
}
