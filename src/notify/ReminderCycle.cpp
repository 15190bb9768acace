// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/ReminderCycle.h"

#include "base/Clock.h"
#include "base/TickTimer.h"

ReminderCycle::ReminderCycle(const Clock& clock, TickTimer& timer, View& view, int entryCount)
    : m_clock(clock), m_timer(timer), m_view(view), m_count(entryCount) {}

void ReminderCycle::start() {
    m_timer.setInterval(FirstInterval);
    m_timer.start();
}

void ReminderCycle::tick() {
    if (m_closed)
        return;
    if (!m_shown) {
        if (m_count <= 0) {
            close();
            return;
        }
        m_shown = true;
        m_shownSince = m_clock.monotonicMs();
        m_view.showNotice();
        m_current = -1;
        m_timer.setInterval(StepInterval);
    }
    regularTick();
}

void ReminderCycle::regularTick() {
    if (m_clock.monotonicMs() - m_shownSince >= ShowForMs) {
        close();
        return;
    }
    ++m_current;
    if (m_current >= m_count)
        m_current = 0;
    m_view.display(m_current);
}

void ReminderCycle::keepAlive() {
    const qint64 now = m_clock.monotonicMs();
    if (now - m_shownSince > KeepAliveMs)
        m_shownSince = now - KeepAliveMs;
}

void ReminderCycle::stepUp() {
    if (!m_shown || m_closed)
        return;
    keepAlive();
    if (m_current >= m_count - 1)
        return;
    // Stopped around the step's own tick, so the 6 seconds count again from the step.
    m_timer.stop();
    regularTick();
    if (!m_closed)
        m_timer.start();
}

void ReminderCycle::stepDown() {
    if (!m_shown || m_closed)
        return;
    keepAlive();
    if (m_current <= 0)
        return;
    m_current -= 2;
    m_timer.stop();
    regularTick();
    if (!m_closed)
        m_timer.start();
}

void ReminderCycle::close() {
    m_closed = true;
    m_timer.stop();
    m_view.closeNotice();
}
