#pragma once

#include "core/Jobs.h"

#include <functional>

class Clock;

// Brings up the reminder every ShowEvery minutes, counted from start-up.
class ReminderJob final : public MinuteJob {
public:
    ReminderJob(const Clock& clock, std::function<void()> showReminder);
    const char* name() const override { return "reminder"; }
    void run(MinuteContext& minute) override;

private:
    QDateTime m_last;
    std::function<void()> m_showReminder;
};
