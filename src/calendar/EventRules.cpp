// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/EventRules.h"

#include <array>

namespace EventRules {

namespace {

DayKey keyOf(const QDate& d) {
    int y = 0, m = 0, dd = 0;
    d.getDate(&y, &m, &dd);
    return {d.toJulianDay(), weekdayNumber(d), dd, m};
}

bool fallsOnKey(int frequency, const DayKey& e, const DayKey& d) {
    switch (frequency) {
    case EventFrequency::OneTime:
        return d.jd == e.jd;
    case EventFrequency::Weekly:
        return e.jd <= d.jd && e.weekday == d.weekday;
    case EventFrequency::Monthly:
        return e.jd <= d.jd && e.day == d.day;
    case EventFrequency::Yearly:
        return e.jd <= d.jd && e.month == d.month && e.day == d.day;
    default:
        return false;
    }
}

bool isRepeating(int frequency) {
    return frequency == EventFrequency::Weekly || frequency == EventFrequency::Monthly ||
           frequency == EventFrequency::Yearly;
}

// The yearly reminder date in `year`: 29 February stands on 28 February in common years.
QDate yearlyIn(const QDate& e, int year) {
    QDate n = rolledDate(year, e.month(), e.day());
    if (n.month() != e.month())
        n = n.addDays(-1);
    return n;
}

} // namespace

int weekdayNumber(const QDate& d) {
    return d.dayOfWeek() % 7 + 1;
}

QDate rolledDate(int year, int month, int day) {
    return QDate(year, month, 1).addDays(day - 1);
}

bool fallsOn(const EventRow& row, const QDate& d) {
    if (!row.eDate.isValid() || !d.isValid())
        return false;
    return fallsOnKey(row.frequency, keyOf(row.eDate), keyOf(d));
}

bool isHidden(int holiday, const HolidayFlags& flags) {
    return (holiday > 0 && holiday < 100 && !flags.addHolidays) ||
           (holiday > 100 && holiday < 200 && !flags.addCanada) ||
           (holiday > 200 && !flags.addAmerica);
}

int holidayPicture(int holiday) {
    const int k = holiday % 100;
    return k >= 1 && k <= 8 ? k : 1;
}

IconChoice iconChoice(const EventRow& row, bool smallIcons) {
    if (row.holiday != 0)
        return {IconChoice::Holiday, holidayPicture(row.holiday)};
    if (smallIcons && !row.smallImg.isEmpty())
        return {IconChoice::OwnSmall, 1};
    if (!row.iconImg.isEmpty())
        return {IconChoice::OwnIcon, 1};
    return {IconChoice::Holiday, 1};
}

QDate firstVisibleDay(const QDate& date, Qt::DayOfWeek weekStart) {
    const QDate first(date.year(), date.month(), 1);
    // Days back to the week's first day before; a 1st that is that day goes back a whole
    // week, so at least one day of the month before is always shown.
    const int back = (first.dayOfWeek() - weekStart + 7) % 7;
    return first.addDays(-(back == 0 ? 7 : back));
}

bool monthViewFetches(const EventRow& row, const QDate& first, const QDate& last, int month) {
    if (!row.eDate.isValid())
        return false;
    return (row.eDate >= first && row.eDate <= last) ||
           (row.frequency > EventFrequency::OneTime && row.frequency < EventFrequency::Yearly) ||
           (row.frequency == EventFrequency::Yearly && row.eDate.month() == month);
}

MonthDays::MonthDays(const QDate& first, int month) : m_month(month) {
    for (int k = 0; k < int(m_days.size()); ++k)
        m_days[size_t(k)] = keyOf(first.addDays(k));
}

void MonthDays::cellsOf(const EventRow& row, std::vector<int>& cells) const {
    if (!row.eDate.isValid())
        return;
    const DayKey e = keyOf(row.eDate);
    const qint64 firstJd = m_days.front().jd;
    const bool inGrid = e.jd >= firstJd && e.jd <= m_days.back().jd;
    const bool fetched =
        inGrid ||
        (row.frequency > EventFrequency::OneTime && row.frequency < EventFrequency::Yearly) ||
        (row.frequency == EventFrequency::Yearly && e.month == m_month);
    if (!fetched)
        return;
    if (row.frequency == EventFrequency::OneTime) {
        if (inGrid)
            cells.push_back(int(e.jd - firstJd));
    } else if (isRepeating(row.frequency)) {
        for (int k = 0; k < int(m_days.size()); ++k)
            if (fallsOnKey(row.frequency, e, m_days[size_t(k)]))
                cells.push_back(k);
    }
}

std::vector<Occurrence> placeMonth(const std::vector<EventRow>& rows, const QDate& first,
                                   int month) {
    const MonthDays days(first, month);
    std::array<std::vector<int>, 42> cells;
    std::vector<int> hit;
    for (int i = 0; i < int(rows.size()); ++i) {
        hit.clear();
        days.cellsOf(rows[size_t(i)], hit);
        for (int k : hit)
            cells[size_t(k)].push_back(i);
    }

    std::vector<Occurrence> out;
    for (int k = 0; k < int(cells.size()); ++k)
        for (int i : cells[size_t(k)])
            out.push_back({k, i});
    return out;
}

bool editorShows(const EventRow& row, const QDate& d) {
    if (!row.eDate.isValid() || !d.isValid())
        return false;
    return row.eDate == d || (isRepeating(row.frequency) && fallsOn(row, d));
}

QDate editorDate(const EventRow& row, const QDate& d) {
    if (row.holiday != 0 && row.frequency == EventFrequency::Yearly) {
        const QDate moved(d.year(), row.eDate.month(), row.eDate.day());
        if (moved.isValid())
            return moved;
    }
    return row.eDate;
}

std::vector<int> editorList(const std::vector<EventRow>& rows, const QDate& d,
                            const HolidayFlags& flags) {
    std::vector<int> out;
    for (bool holidays : {true, false})
        for (int i = 0; i < int(rows.size()); ++i) {
            const EventRow& row = rows[i];
            if ((row.holiday != 0) == holidays && editorShows(row, d) &&
                !isHidden(row.holiday, flags))
                out.push_back(i);
        }
    return out;
}

bool editorReplaces(const EventRow& row, const QDate& d) {
    return row.holiday == 0 && row.subscription == 0 && editorShows(row, d);
}

bool exportShows(const EventRow& row, const QDate& d) {
    if (!row.eDate.isValid() || !d.isValid())
        return false;
    switch (row.frequency) {
    case EventFrequency::OneTime:
        return row.eDate == d;
    case EventFrequency::Weekly:
        return weekdayNumber(row.eDate) == weekdayNumber(d);
    case EventFrequency::Monthly:
        return row.eDate.day() == d.day();
    case EventFrequency::Yearly:
        return row.eDate.month() == d.month() && row.eDate.day() == d.day();
    default:
        return false;
    }
}

bool containsText(const QString& description, const QString& text) {
    const QString wanted = text.trimmed();
    return wanted.isEmpty() || description.contains(wanted, Qt::CaseInsensitive);
}

bool searchFetches(const EventRow& row, const QDate& s, const QString& text) {
    if (!row.eDate.isValid())
        return false;
    if (row.frequency == EventFrequency::OneTime && row.eDate <= s)
        return false;
    return containsText(row.description, text);
}

QDate searchNextDate(const EventRow& row, const QDate& s) {
    const QDate e = row.eDate;
    if (!e.isValid() || !s.isValid())
        return {};
    QDate n;
    if (e > s) {
        n = e;
    } else {
        switch (row.frequency) {
        case EventFrequency::Weekly: {
            int k = weekdayNumber(e) - weekdayNumber(s);
            if (k <= 0)
                k += 7;
            n = s.addDays(k);
            break;
        }
        case EventFrequency::Monthly:
            n = rolledDate(s.year(), s.month(), e.day());
            if (n <= s)
                n = n.addMonths(1);
            break;
        case EventFrequency::Yearly:
            n = rolledDate(s.year(), e.month(), e.day());
            if (n <= s)
                n = n.addYears(1);
            break;
        default:
            // A row that neither repeats nor lies ahead would send "Find Next" backwards
            // and keep it there.
            return {};
        }
    }
    return n > s && n <= LatestDate ? n : QDate();
}

QDate searchFirstDate(const std::vector<EventRow>& rows, const QDate& s,
                      const HolidayFlags& flags) {
    QDate best;
    for (const EventRow& row : rows) {
        if (isHidden(row.holiday, flags))
            continue;
        const QDate n = searchNextDate(row, s);
        if (n.isValid() && (!best.isValid() || n < best))
            best = n;
    }
    return best;
}

bool isSameHoliday(const EventRow& stored, const EventRow& incoming) {
    return stored.holiday != 0 && stored.eDate.isValid() && stored.eDate == incoming.eDate &&
           stored.holiday % 100 == incoming.holiday % 100 &&
           stored.description.trimmed().compare(incoming.description.trimmed(),
                                                Qt::CaseInsensitive) == 0;
}

bool reminderFetches(const EventRow& row, const QDate& t, const QDate& h) {
    if (!row.eDate.isValid())
        return false;
    return (row.frequency < EventFrequency::Weekly && row.eDate >= t && row.eDate <= h) ||
           row.frequency >= EventFrequency::Weekly;
}

QDate reminderNextDate(const EventRow& row, const QDate& t) {
    const QDate e = row.eDate;
    if (!e.isValid() || !t.isValid())
        return {};
    switch (row.frequency) {
    case EventFrequency::Weekly: {
        const int we = weekdayNumber(e);
        const int wt = weekdayNumber(t);
        return t.addDays(we > wt ? we - wt : we < wt ? we + 7 - wt : 0);
    }
    case EventFrequency::Monthly: {
        if (t < e)
            return e;
        QDate n = rolledDate(t.year(), t.month(), e.day());
        if (n < t)
            n = n.addMonths(1);
        return n;
    }
    case EventFrequency::Yearly: {
        // On 1 March of a common year, 29 February's stand-in (28 February) is already
        // past: the next one is a year on, not yesterday.
        const QDate n = yearlyIn(e, t.year());
        return n < t ? yearlyIn(e, t.year() + 1) : n;
    }
    default:
        return e;
    }
}

bool reminderAccepts(const EventRow& row, const QDate& t, int notifyAgo,
                     const HolidayFlags& flags) {
    if (!reminderFetches(row, t, t.addDays(notifyAgo)) || isHidden(row.holiday, flags))
        return false;
    const QDate n = reminderNextDate(row, t);
    if (!n.isValid())
        return false;
    // Without the lower bound a row with an unknown code and a past date would be
    // announced as "-400 day(s) from now." at every showing.
    const qint64 days = t.daysTo(n);
    return days >= 0 && days <= notifyAgo;
}

} // namespace EventRules
