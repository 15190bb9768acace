// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

#include <functional>

// Starts the holiday-list update at the start of an hour once more than 60 days have passed
// since the last one, when the machine is online.
class HolidayUpdateJob final : public MinuteJob {
public:
    static constexpr int DaysBetweenUpdates = 60;

    explicit HolidayUpdateJob(std::function<void()> startUpdate);
    const char* name() const override { return "holiday update"; }
    void run(MinuteContext& minute) override;
    QDateTime nextNeeded(const MinuteContext& minute) const override;

private:
    std::function<void()> m_startUpdate;
};
