// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>

#include <vector>

class EventStore;

// Writes Events rows as an iCalendar file (RFC 5545, serialised by libical): each event an
// all-day VEVENT with UID, DTSTAMP, LAST-MODIFIED, DTSTART;VALUE=DATE and SUMMARY, and
// RRULE:FREQ=WEEKLY|MONTHLY|YEARLY for the repeating codes. Rows that share a UID (an
// imported multi-day or expanded event) become one VEVENT again: DTEND for consecutive
// days, RDATEs otherwise. Pictures are not written; rows of code 2 never are.
class IcsExport {
public:
    // What to write: everything (Range::All) or one of the Export menu's ranges, whose rows
    // are those falling on a date of the range.
    enum Range { All = 0, SelectedDate = 1, ComingDays = 2, SelectedMonth = 3 };

    // The rows to write from the store: the user's events, and the holidays the switches
    // show when `withHolidays`. False with the store's error when it cannot be read.
    static bool select(EventStore& store, int range, const QDate& selected, const QDate& today,
                       bool withHolidays, const HolidayFlags& flags, std::vector<EventRow>& rows,
                       QString* error = nullptr);

    // The file for `rows`, stamped `now`. An event in `kept` (by UID) is written as the
    // program it came from wrote it, with the change its rows show written in (EventPatch);
    // give it only with every row of the event.
    static QByteArray write(const std::vector<EventRow>& rows, const QDateTime& now,
                            const QHash<QString, KeptEvent>& kept = {});
};
