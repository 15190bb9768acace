// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a mouse message on the tray icon does. The table works on button-up and
// double-click messages; the tray adapter translates Qt's activation reasons into them.
namespace TrayClicks {

enum Message { LeftButtonUp = 514, LeftDoubleClick = 515, RightButtonUp = 517 };
enum class Action { Nothing, ShowMenu, OpenCalendar };

// A double-click opens the calendar and arms `suppressNextButtonUp`, so the button-up that
// follows it does not open the menu as well; any other message does nothing.
Action handle(int message, bool& suppressNextButtonUp);

} // namespace TrayClicks
