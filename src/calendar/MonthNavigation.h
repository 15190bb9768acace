// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/MonthLayout.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <vector>

// What the month view does with the user's moves (its buttons, keys and clicks on the
// grid): the date it selects next and whether the whole month is drawn again, or the event
// editor opening; and the texts it shows and speaks for the selected date.
namespace MonthNavigation {

struct Step {
    enum class Kind { Stay, Select, Edit };
    Kind kind = Kind::Stay;
    QDate date;             // for Select
    bool redrawAll = false; // draw the month again even when the grid shows it already
};

// The month buttons: "Previous month" and "Next month" (Page Up, Page Down).
Step monthButton(const QDate& selected, bool next, const QDate& today);
// The year up/down (Ctrl+Page Down, Ctrl+Page Up); Stay when the year is refused.
Step yearButton(const QDate& selected, int years);
// "Go Today".
Step goToday(const QDate& today);
// A key on the grid: Page Up/Down (with Ctrl a year), the arrows a day or a week; any
// other key opens the editor.
Step key(const QDate& selected, int key, Qt::KeyboardModifiers modifiers, const QDate& today);
// A press on grid cell `cell` while the selected date is in cell `selectedCell`.
Step press(const QDate& selected, int cell, int selectedCell);

// The month and year over the grid: "March 2026", the month named as it stands alone.
QString title(const QDate& selected, const QLocale& locale);
// The grid's accessible name: the selected day in the locale's long date format, "Tuesday,
// 10 March 2026" (en_GB), "Samstag, 5. Dezember 2026".
QString dayName(const QDate& selected, const QLocale& locale);
// The grid's accessible description: the selected day's events as the tooltip lists them.
QString eventsText(const std::vector<MonthLayout::TooltipEntry>& tooltips, const QDate& selected);

} // namespace MonthNavigation
