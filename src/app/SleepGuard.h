// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class SleepInhibitor;

// Holds the machine's sleep back until the unsaved work is saved, then lets it go; after
// the wake, takes the lock again and runs the tick at once, so what fell due while asleep
// is dealt with now rather than at the next minute.
class SleepGuard : public QObject {
    Q_OBJECT
public:
    SleepGuard(SleepInhibitor& inhibitor, std::function<void()> save, std::function<void()> wake,
               QObject* parent = nullptr);

private:
    void beforeSleep();
    void afterWake();

    SleepInhibitor& m_inhibitor;
    std::function<void()> m_save;
    std::function<void()> m_wake;
};
