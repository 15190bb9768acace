// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

// Fires the due entries whose minute has come, each through the handler its tool gave for
// its action (Tick::addDueAction). An entry whose action has no handler is logged.
class DueEntriesJob final : public MinuteJob {
public:
    const char* name() const override { return "due entries"; }
    void run(MinuteContext& minute) override;
    QDateTime nextNeeded(const MinuteContext& minute) const override {
        return minute.cache.hasDueEntries ? QDateTime() : untilChanged();
    }
};
