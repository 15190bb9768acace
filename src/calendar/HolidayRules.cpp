// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/HolidayRules.h"

#include <algorithm>
#include <functional>

namespace HolidayRules {

QDate easterSunday(int year) {
    if (year < 1583)
        return {};
    // The anonymous Gregorian computus.
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

QDate nthWeekday(int year, int month, Qt::DayOfWeek weekday, int n) {
    const QDate first(year, month, 1);
    if (!first.isValid() || n < 1)
        return {};
    const QDate d = first.addDays((weekday - first.dayOfWeek() + 7) % 7 + 7 * (n - 1));
    return d.month() == month ? d : QDate();
}

QDate lastWeekday(int year, int month, Qt::DayOfWeek weekday) {
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    return weekdayOnOrBefore(first.addDays(first.daysInMonth() - 1), weekday);
}

QDate weekdayOnOrBefore(const QDate& d, Qt::DayOfWeek weekday) {
    if (!d.isValid())
        return {};
    return d.addDays(-((d.dayOfWeek() - weekday + 7) % 7));
}

namespace {

struct Fixed {
    const char* text;
    int month;
    int day;
    int icon;
    const char* country;
    int since = 2000;
};

// Holidays on the same date every year.
const Fixed FixedDays[] = {
    {"New Year's Day", 1, 1, 2, "I"},
    {"Groundhog Day", 2, 2, 2, "A"},
    {"Valentine's Day", 2, 14, 3, "I"},
    {"International Women's Day", 3, 8, 2, "I"},
    {"St. Patrick's Day", 3, 17, 2, "I"},
    {"April Fools' Day", 4, 1, 2, "I"},
    {"Earth Day", 4, 22, 2, "I"},
    {"Flag Day", 6, 14, 2, "A"},
    {"Juneteenth", 6, 19, 2, "A", 2021},
    {"Canada Day", 7, 1, 2, "C"},
    {"Independence Day", 7, 4, 2, "A"},
    {"National Day for Truth and Reconciliation", 9, 30, 2, "C", 2021},
    {"Halloween", 10, 31, 8, "I"},
    {"Remembrance Day", 11, 11, 2, "C"},
    {"Veterans Day", 11, 11, 2, "A"},
    {"Christmas Eve", 12, 24, 7, "I"},
    {"Christmas Day", 12, 25, 7, "I"},
    {"Boxing Day", 12, 26, 7, "C"},
    {"New Year's Eve", 12, 31, 8, "I"},
};

struct Moving {
    const char* text;
    std::function<QDate(int year)> date;
    int icon;
    const char* country;
};

QDate fromEaster(int year, int days) {
    return easterSunday(year).addDays(days);
}

// Holidays whose date changes from year to year.
const Moving MovingDays[] = {
    {"Easter Sunday", [](int y) { return easterSunday(y); }, 5, "I"},
    {"Mother's Day", [](int y) { return nthWeekday(y, 5, Qt::Sunday, 2); }, 4, "I"},
    {"Father's Day", [](int y) { return nthWeekday(y, 6, Qt::Sunday, 3); }, 4, "I"},

    {"Family Day", [](int y) { return nthWeekday(y, 2, Qt::Monday, 3); }, 6, "C"},
    {"Good Friday", [](int y) { return fromEaster(y, -2); }, 5, "C"},
    {"Easter Monday", [](int y) { return fromEaster(y, 1); }, 5, "C"},
    {"Victoria Day", [](int y) { return weekdayOnOrBefore(QDate(y, 5, 24), Qt::Monday); }, 6, "C"},
    {"Civic Holiday", [](int y) { return nthWeekday(y, 8, Qt::Monday, 1); }, 6, "C"},
    {"Labour Day", [](int y) { return nthWeekday(y, 9, Qt::Monday, 1); }, 6, "C"},
    {"Thanksgiving Day", [](int y) { return nthWeekday(y, 10, Qt::Monday, 2); }, 6, "C"},

    {"Martin Luther King Jr. Day", [](int y) { return nthWeekday(y, 1, Qt::Monday, 3); }, 6, "A"},
    {"Presidents' Day", [](int y) { return nthWeekday(y, 2, Qt::Monday, 3); }, 6, "A"},
    {"Memorial Day", [](int y) { return lastWeekday(y, 5, Qt::Monday); }, 6, "A"},
    {"Labor Day", [](int y) { return nthWeekday(y, 9, Qt::Monday, 1); }, 6, "A"},
    {"Columbus Day", [](int y) { return nthWeekday(y, 10, Qt::Monday, 2); }, 6, "A"},
    {"Thanksgiving Day", [](int y) { return nthWeekday(y, 11, Qt::Thursday, 4); }, 6, "A"},
};

HolidayList::Record record(const char* text, const QDate& date, int icon, const char* country) {
    return {QString::fromUtf8(text), date.toString(u"MM/dd/yyyy"), QString::number(icon),
            QString::fromLatin1(country)};
}

} // namespace

std::vector<HolidayList::Record> shippedList(int firstYear, int years) {
    std::vector<std::pair<QDate, HolidayList::Record>> dated;
    for (const Fixed& f : FixedDays) {
        const QDate d(f.since, f.month, f.day);
        dated.emplace_back(d, record(f.text, d, f.icon, f.country));
    }
    for (int year = firstYear; year < firstYear + years; ++year)
        for (const Moving& m : MovingDays) {
            const QDate d = m.date(year);
            if (d.isValid())
                dated.emplace_back(d, record(m.text, d, m.icon, m.country));
        }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<HolidayList::Record> out;
    out.reserve(dated.size());
    for (auto& [date, r] : dated)
        out.push_back(std::move(r));
    return out;
}

} // namespace HolidayRules
