// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/HolidayList.h"

#include <QDate>

#include <vector>

// Dates of moving holidays, and the holiday list Plumora ships.
namespace HolidayRules {

// Easter Sunday of `year` in the Gregorian calendar (years 1583 and later; invalid before).
QDate easterSunday(int year);
// The n-th (1 ... 5) given weekday of a month; invalid when the month has no such day.
QDate nthWeekday(int year, int month, Qt::DayOfWeek weekday, int n);
// The last given weekday of a month.
QDate lastWeekday(int year, int month, Qt::DayOfWeek weekday);
// The given weekday on or before d (Victoria Day: the Monday on or before 24 May).
QDate weekdayOnOrBefore(const QDate& d, Qt::DayOfWeek weekday);

// The shipped holiday list: international days (country code "I"), Canadian statutory
// holidays and days off ("C"), United States federal holidays and common observances
// ("A"). Holidays on a fixed date are one yearly record each, dated in the year the
// observance began (2000 for older ones) so that every year's list names them the same and
// a newer list overwrites them instead of adding a second row; holidays that move are
// one-time records for each year from firstYear, `years` years in all. Icon numbers are
// chosen so that HolidayList::frequencyOf gives each record its kind: yearly 2 (star),
// 3 (heart), 7 (tree), 8 (bell); one-time 4 (gift), 5 (candle), 6 (flag). Sorted by date.
std::vector<HolidayList::Record> shippedList(int firstYear, int years = 11);

} // namespace HolidayRules
