// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

#include <QDateTime>
#include <QList>

#include <functional>

// After a gap in the ticks: note alarms that came due in it are shown now, once each and
// marked late; scheduled programs, shut-downs and hibernations are listed as not run. The
// minute at hand is left to DueEntriesJob.
class MissedEntriesJob final : public MinuteJob {
public:
    // `lateAlarm` brings up Quick Notes with the notes due at these minutes.
    explicit MissedEntriesJob(std::function<void(const QList<QDateTime>& minutes)> lateAlarm);
    const char* name() const override { return "missed entries"; }
    void run(MinuteContext& minute) override;

private:
    std::function<void(const QList<QDateTime>&)> m_lateAlarm;
};
