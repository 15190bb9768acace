#pragma once

#include <QDateTime>

// What the controller remembers between ticks; set up at start-up.
struct ControllerState {
    // A double-click arms this so the button-up after it does not open the menu.
    bool SuppressNextButtonUp = false;
    // data.plm's last-modified stamp when the cache was loaded; -1 forces the first load.
    qint64 LastDataFileTime = -1;
    QDateTime LastReminderTime;
    // An invalid time means no mail check has run yet.
    QDateTime LastMailCheckTime;
};
