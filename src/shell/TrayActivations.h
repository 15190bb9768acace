// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The D-Bus tray's clicks: a host sends one Activate per left click, so a double-click
// arrives as two Activate calls. The second within the double-click interval opens the
// calendar (and the menu the first one opened closes); a third starts over.
class TrayActivations {
public:
    enum class Action { ShowMenu, OpenCalendar };

    // An Activate call at `nowMs` (monotonic milliseconds).
    Action activate(qint64 nowMs, int doubleClickMs);

private:
    qint64 m_pending = -1; // when the last lone Activate came; -1: none waits for a partner
};

// The tray that holds the icon going away: said once per session, and only after a tray
// had held it (a desktop with none from the start is told at start-up).
class TrayLoss {
public:
    // The icon is shown (`shown`) or not, as found now; true when the loss is to be told.
    bool update(bool shown);

private:
    bool m_hadTray = false;
    bool m_told = false;
};
