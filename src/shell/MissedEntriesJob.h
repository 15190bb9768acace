// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

// After a gap in the ticks: alarms that came due in it are shown now through their
// action's late handler, once each and marked late; scheduled programs, shut-downs and
// hibernations are listed as not run. The minute at hand is left to DueEntriesJob.
class MissedEntriesJob final : public MinuteJob {
public:
    const char* name() const override { return "missed entries"; }
    void run(MinuteContext& minute) override;
    // It has work only after a gap, which wakes every job.
    QDateTime nextNeeded(const MinuteContext&) const override { return untilChanged(); }
};
