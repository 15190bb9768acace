// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QTimeZone>

#include <vector>

// Reads an iCalendar file (RFC 5545, parsed by libical) into Events rows, without touching
// the data file. Every event becomes the rows of one UID:
// - an all-day event goes on its date, a timed one on the date it starts in `zone`, with
//   the start time before its text ("09:30 Dentist"); TZID and VTIMEZONE are honoured;
// - a weekly, monthly or yearly rule with interval 1 and no end, exceptions or extra
//   dates becomes one repeating row (BYxxx parts that only restate the start date's
//   weekday, day or month count as plain), unless its time of day in `zone` changes
//   with summer time in one zone and not the other;
// - any other rule, RDATE, EXDATE or changed single occurrence is expanded into one-time
//   rows from a year before `today` to five years after it, at most MaxRowsPerEvent; a
//   rule more often than daily gives its first time of each day, or, with BYxxx parts,
//   is left out; a rule without end is shown within that window (or up to its
//   MaxRowsPerEvent-th date from the window's start), and its rows are made again for a
//   later `today` as time passes (Event::shownUntil);
// - an event of several days gets one row per day, at most MaxDays;
// - one read makes at most the rows it is given; the events after those are left out.
// A known Olson TZID is read with the system's zone data, a VTIMEZONE of the file only
// stands for ids the system does not know; X-WR-TIMEZONE places floating times.
// Input that breaks the file (its outline, or a date, rule or zone offset libical cannot
// read) is refused as a whole with the line it failed on; an empty or unreadable value of
// another property is read as absent.
class IcsImport {
    Q_DECLARE_TR_FUNCTIONS(IcsImport)

public:
    static constexpr qint64 MaxBytes = 20 * 1024 * 1024;
    static constexpr int MaxComponents = 50000;
    static constexpr int MaxRowsPerEvent = 1000;
    static constexpr int MaxDays = 31;
    // The most rows one import, subscription update or sync batch makes.
    static constexpr int MaxRowsPerBatch = 50000;

    // One event of the file: its rows, all carrying `uid`.
    struct Event {
        QString uid;
        int line = 0; // where its VEVENT begins
        std::vector<EventRow> rows;
        // The event as the file wrote it (see KeptEvent): a VCALENDAR with its VEVENTs and
        // the VTIMEZONEs they name; a file of that one event alone (a server's), whole.
        QByteArray component;
        // For a rule without end shown as single dates: the last date shown; the rows are
        // made again as the window moves. Invalid for any other event.
        QDate shownUntil;
    };

    // What the file held apart from the events read, for the report.
    struct Notes {
        int expanded = 0;     // repeat in a way kept as single dates
        int capped = 0;       // more than MaxRowsPerEvent occurrences in the window
        int noDate = 0;       // no usable start date
        int tooLong = 0;      // longer than MaxDays days; their first days kept
        int cancelled = 0;    // STATUS:CANCELLED
        int duplicates = 0;   // a UID already read earlier in the file
        int outOfWindow = 0;  // repeat, but never inside the expansion window
        int otherItems = 0;   // to-dos, journal entries and other components
        int subDaily = 0;     // repeat more often than daily; shown once a day
        int subDailyLeft = 0; // more often than daily with BYxxx parts; the rule left out
        int unfollowed = 0;   // rules too dense to follow to the end of the window
        int overBudget = 0;   // left out once the read had made its most rows
        int rolling = 0;      // repeat without end, shown within the window
        QDate rollingUntil;   // the earliest last date shown of those
    };

    struct Result {
        std::vector<Event> events;
        Notes notes;
        QString error; // empty on success; otherwise "Line N: ..." or a size refusal
        bool ok() const { return error.isEmpty(); }
    };

    // `today` fixes the expansion window; `zone` is the user's time zone; `maxRows` bounds
    // the rows of all events together.
    static Result read(const QByteArray& data, const QDate& today,
                       const QTimeZone& zone = QTimeZone::systemTimeZone(),
                       int maxRows = MaxRowsPerBatch);

    // Readies the reader for reads on several threads at once (libical fills its list of
    // built-in zones on first use, which is not safe against a second thread doing the
    // same); called on one thread before reads are started on others.
    static void prepare();

    // The hover label of an event that repeats without end, shown up to `until`.
    static QString rollingText(const QDate& until) {
        return tr("Repeats without end; dates are shown up to %1 and extended as time passes")
            .arg(dateText(until));
    }
    static QString dateText(const QDate& d) { return d.toString(Qt::ISODate); }
    // Whether `ics` (a kept event) holds a series whose rule has no end.
    static bool endless(const QByteArray& ics);

    // The expansion window for `today`.
    static QDate windowStart(const QDate& today) { return today.addYears(-1); }
    static QDate windowEnd(const QDate& today) { return today.addYears(5); }
};
