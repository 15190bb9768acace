// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SleepGuard.h"

#include "base/Log.h"
#include "platform/SleepInhibitor.h"

SleepGuard::SleepGuard(SleepInhibitor& inhibitor, std::function<void()> save,
                       std::function<void()> wake, QObject* parent)
    : QObject(parent), m_inhibitor(inhibitor), m_save(std::move(save)), m_wake(std::move(wake)) {
    connect(&m_inhibitor, &SleepInhibitor::aboutToSleep, this, &SleepGuard::beforeSleep);
    connect(&m_inhibitor, &SleepInhibitor::resumed, this, &SleepGuard::afterWake);
    m_inhibitor.hold();
}

void SleepGuard::beforeSleep() {
    qCInfo(lcDesktop) << "the computer is going to sleep: saving";
    if (m_save)
        m_save();
    m_inhibitor.release();
}

void SleepGuard::afterWake() {
    qCInfo(lcDesktop) << "the computer woke up";
    m_inhibitor.hold();
    if (m_wake)
        m_wake();
}
