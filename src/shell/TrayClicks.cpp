// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/TrayClicks.h"

namespace TrayClicks {

Action handle(int message, bool& suppressNextButtonUp) {
    switch (message) {
    case LeftDoubleClick:
        suppressNextButtonUp = true;
        return Action::OpenCalendar;
    case LeftButtonUp:
    case RightButtonUp:
        if (suppressNextButtonUp) {
            suppressNextButtonUp = false;
            return Action::Nothing;
        }
        return Action::ShowMenu;
    default:
        return Action::Nothing;
    }
}

} // namespace TrayClicks
