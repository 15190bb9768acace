// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

#include <QCoreApplication>

#include <functional>

class Clock;

// Brings up the reminder every ShowEvery minutes, counted from start-up.
class ReminderJob final : public MinuteJob {
    Q_DECLARE_TR_FUNCTIONS(ReminderJob)

public:
    ReminderJob(const Clock& clock, std::function<void()> showReminder);
    const char* name() const override { return "reminder"; }
    void run(MinuteContext& minute) override;
    QDateTime nextNeeded(const MinuteContext& minute) const override;
    // Whether a reminder is on screen; a reminder due while asleep is reported as late only
    // when it shows something.
    void setShownTest(std::function<bool()> shown) { m_shown = std::move(shown); }

private:
    QDateTime m_last;
    std::function<void()> m_showReminder;
    std::function<bool()> m_shown;
};
