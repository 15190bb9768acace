// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/TrayActivations.h"

#include "base/IdlePath.h"

TrayActivations::Action TrayActivations::activate(qint64 nowMs, int doubleClickMs) {
    if (m_pending >= 0 && nowMs >= m_pending && nowMs - m_pending <= doubleClickMs) {
        m_pending = -1;
        return Action::OpenCalendar;
    }
    m_pending = nowMs;
    return Action::ShowMenu;
}

PLUMORA_IDLE_PATH bool TrayLoss::update(bool shown) {
    if (shown) {
        m_hadTray = true;
        return false;
    }
    if (!m_hadTray || m_told)
        return false;
    m_told = true;
    return true;
}
