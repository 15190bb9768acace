// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QDate>
#include <QString>

#include <array>
#include <vector>

// The date rules of calendar events: which rows each reader of the Events table shows on
// which date. Every reader (month view, editor, export, search, reminder) uses these and
// nothing else. The readers deliberately differ; each difference is written down at the
// function that holds it. The store (EventStore.h) fetches a superset of rows with bound
// parameters and the functions here make the exact choice in memory.
//
// Weekday numbers run Sunday = 1 ... Saturday = 7. Rows whose eDate is not a date are
// never placed, listed, exported, found or announced.
namespace EventRules {

// The dates the calendar lets the user select.
inline const QDate EarliestDate{1753, 1, 1};
inline const QDate LatestDate{9999, 12, 31};
inline constexpr int EarliestYear = 1753;
inline constexpr int LatestYear = 9999;

// Sunday = 1 ... Saturday = 7.
int weekdayNumber(const QDate& d);

// The date of year/month/day where a day past the month's end rolls over into the next
// month: (2026, 4, 31) is 1 May 2026, (2027, 2, 29) is 1 March 2027.
QDate rolledDate(int year, int month, int day);

// ---- Rule A: the month view and the editor ------------------------------------------
// A row falls on date d when:
//  - one-time (1): d is its eDate;
//  - weekly (3): d is on or after eDate and on the same weekday;
//  - monthly (4): d is on or after eDate and has the same day of the month. There is no
//    month-end adjustment: a row dated the 31st falls only in months with a 31st, and one
//    dated the 29th or 30th is skipped in February;
//  - yearly (5): d is on or after eDate with the same month and day, so a row dated
//    29 February falls only in leap years;
//  - any other code (2 included): never.
bool fallsOn(const EventRow& row, const QDate& d);

// ---- Holidays and icons --------------------------------------------------------------
// A downloaded holiday is hidden while its country's switch is off: 1 ... 99 by
// AddHolidays, 101 ... 199 by AddCanada, 201 and above by AddAmerica. The bounds are
// strict: 0 (the user's own events), 100 and 200 are always shown. Each switch acts on its
// own range only. Hidden rows stay in the table.
bool isHidden(int holiday, const HolidayFlags& flags);

// The HolidaysIL picture (1 ... 8) of a holiday code: Holiday mod 100. A remainder of 0,
// above 8 or below 0 has no picture of its own and draws picture 1, the default icon.
int holidayPicture(int holiday);

// Which picture a row shows (month view, editor, export, reminder): a user event
// (Holiday 0) its own picture - SmallImg in the month view's small-icon mode, else IconImg -
// and HolidaysIL picture 1 when it has none; a holiday its HolidaysIL picture. In
// small-icon mode a user row with no SmallImg but an IconImg shows the IconImg.
struct IconChoice {
    enum Source { OwnIcon, OwnSmall, Holiday } source = Holiday;
    int picture = 1; // the HolidaysIL picture when source is Holiday
};
IconChoice iconChoice(const EventRow& row, bool smallIcons);

// ---- Month view ----------------------------------------------------------------------
// The 42 days of the grid: 6 weeks from the `weekStart` day before the 1st of date's month,
// or 7 days before the 1st when the 1st is itself that day, so the first row always shows at
// least one day of the previous month. Day k (0-based) sits in row k / 7, column k % 7.
QDate firstVisibleDay(const QDate& date, Qt::DayOfWeek weekStart = Qt::Sunday);

// The rows the month view fetches for a grid from first to last showing month `month`:
// every row dated first ... last, every row with Frequency 2, 3 or 4 whatever its date,
// and every yearly row dated in `month`. Yearly rows of other months are therefore never
// drawn in the neighbouring months' cells (unless their very first date is in the grid).
bool monthViewFetches(const EventRow& row, const QDate& first, const QDate& last, int month);

// One icon in the month grid: cell 0 ... 41 and the index of the row in the list given.
struct Occurrence {
    int cell;
    int row;
};
// The parts of a date rule A compares, worked out once per date: placing a month tests
// thousands of rows against 42 days, and QDate derives day and month on every call.
struct DayKey {
    qint64 jd = 0;
    int weekday = 0;
    int day = 0;
    int month = 0;
};
// The 42 days of a grid from `first` showing month `month`, for placing rows one by one.
class MonthDays {
public:
    MonthDays(const QDate& first, int month);
    // Appends the cells (ascending) on which placeMonth puts `row`.
    void cellsOf(const EventRow& row, std::vector<int>& cells) const;

private:
    std::array<DayKey, 42> m_days;
    int m_month;
};
// Places the rows on the 42 days starting at `first`: a fetched one-time row on its
// eDate, a fetched weekly, monthly or yearly row on every day it falls on by rule A. The
// result is in cell order; occurrences of one cell keep the order of `rows`. The
// holiday switches are not applied here: the grid skips hidden rows while it draws.
std::vector<Occurrence> placeMonth(const std::vector<EventRow>& rows, const QDate& first,
                                   int month);

// ---- Editor --------------------------------------------------------------------------
// The editor lists for day d every row dated d whatever its code (2 and unknown codes
// included), and every weekly, monthly or yearly row that falls on d by rule A.
bool editorShows(const EventRow& row, const QDate& d);
// The date the editor shows for a listed row: a downloaded yearly holiday (Holiday not 0,
// Frequency 5) is moved into d's year; every other row shows its stored eDate.
QDate editorDate(const EventRow& row, const QDate& d);
// The editor's list for day d: indices into `rows`, the visible holidays first, then the
// user's rows, each group in the order of `rows`.
std::vector<int> editorList(const std::vector<EventRow>& rows, const QDate& d,
                            const HolidayFlags& flags);
// The rows the editor's Save replaces: every user row (Holiday 0) it shows on d. A
// repeating user event that started earlier is among them; holidays never are.
bool editorReplaces(const EventRow& row, const QDate& d);

// ---- Export --------------------------------------------------------------------------
// The export lists a row on date d when it is one-time and dated d, or weekly on d's
// weekday, monthly on d's day of the month, or yearly on d's month and day. There is no
// start bound: repeating rows are exported on matching dates before their eDate too.
// Frequency 2 and unknown codes are never exported.
bool exportShows(const EventRow& row, const QDate& d);

// ---- Search --------------------------------------------------------------------------
// `text` occurs in `description` without regard to case, for every alphabet. The text is
// taken literally ("*", "?", "#" and "[" are ordinary characters); leading and trailing
// blanks of the text are ignored, and an empty text occurs everywhere.
bool containsText(const QString& description, const QString& text);
// The search from selected date s considers every row containing the text except
// one-time rows dated on or before s.
bool searchFetches(const EventRow& row, const QDate& s, const QString& text);
// The date a considered row offers to the search from s, always strictly after s; invalid
// when it offers none (then it is no candidate):
//  - a row dated after s offers its eDate, whatever its code;
//  - weekly, started: the next date after s on its weekday (1 to 7 days ahead);
//  - monthly, started: its day of the month in s's month, a day past the month's end
//    rolling over (the 31st in April gives 1 May); when that is not after s, one calendar
//    month later, the day kept where the month has it, else that month's last day;
//  - yearly, started: its month and day in s's year, rolling over the same way (29
//    February in a common year gives 1 March); when that is not after s, one year later;
//  - any other code dated on or before s: no date;
//  - a date past 31 December 9999: no date.
QDate searchNextDate(const EventRow& row, const QDate& s);
// The search's answer for rows the store fetched: the earliest date offered by a visible
// row; invalid when there is none ("No more result found.").
QDate searchFirstDate(const std::vector<EventRow>& rows, const QDate& s, const HolidayFlags& flags);

// ---- Holiday update -------------------------------------------------------------------
// A downloaded holiday overwrites the stored row it matches instead of adding a second
// one: a holiday row (Holiday not 0) with the same date, the same icon number (Holiday mod
// 100, so a holiday whose country changes keeps its row) and the same text, compared
// without regard to case and to blanks around it. The user's own events never match.
bool isSameHoliday(const EventRow& stored, const EventRow& incoming);

// ---- Reminder ------------------------------------------------------------------------
// The reminder fetches for today t and horizon h (t + NotifyAgo days) the rows with
// Frequency below 3 dated t ... h, and every row with Frequency 3 or above.
bool reminderFetches(const EventRow& row, const QDate& t, const QDate& h);
// The next date the reminder announces a row for, seen from today t:
//  - weekly: the first day from t on with its weekday, whether or not eDate has come;
//  - monthly: eDate while t is before it; else its day of the month in t's month (a day
//    past the month's end rolls over into the next month), one calendar month later when
//    that is before t;
//  - yearly: its month and day in t's year (rolling over as above), one year later when
//    that is before t, whether or not eDate has come; 29 February is announced on 28
//    February in common years, and never for a day already past;
//  - 1, 2 and any other code: eDate (one-time events).
QDate reminderNextDate(const EventRow& row, const QDate& t);
// Whether the reminder announces the row: it is fetched, visible, and its next date lies
// 0 ... notifyAgo days from t.
bool reminderAccepts(const EventRow& row, const QDate& t, int notifyAgo, const HolidayFlags& flags);

} // namespace EventRules
