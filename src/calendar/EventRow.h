// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Settings.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

// One row of the Events table as every calendar reader sees it. Nothing is expanded into
// occurrences in storage: a row holds a start date and two codes, and the rules in
// EventRules.h decide at read time on which dates it falls.
struct EventRow {
    // SQLite's own row number; the program never shows it, the store uses it to delete
    // exactly the rows a reader selected. -1 for a row not read from the file.
    qint64 rowId = -1;
    // Date of a one-time event, or the first date of a repeating one. Invalid when the
    // stored text is not a date; no rule ever places such a row.
    QDate eDate;
    QString description;
    QByteArray iconImg;  // PNG of the event's own 32 x 32 icon, empty when it has none
    QByteArray smallImg; // PNG of its 16 x 16 rendering, empty when it has none
    int frequency = 1;   // EventFrequency codes
    int holiday = 0;     // 0 the user's own event, else a downloaded holiday (see EventRules.h)
    // The event's identity for calendar interchange; rows of one multi-day or expanded
    // event share it. Empty for a row not yet stored: the store gives it a new one.
    QString uid;
    // When the event was last changed (UTC); invalid when not known, or for a row not yet
    // stored: the store stamps it with the time of writing.
    QDateTime modified;
    // The calendar subscription the row came from (read-only for the user); 0 for none.
    int subscription = 0;
};

// An event as a server or a file wrote it, kept beside its rows: a VCALENDAR holding the
// event's VEVENTs (the series and its changed occurrences, with their alarms and every
// property Plumora does not show) and the VTIMEZONEs they use. `rows` are the date, repeat
// and text of the rows it was stored as; what differs between them and the rows Plumora
// holds now is what the user changed here, and only that is written into the event.
struct KeptEvent {
    QString uid;
    QByteArray ics;
    std::vector<EventRow> rows;
};

// Repetition codes of calendar events (they differ from the scheduler's codes).
namespace EventFrequency {
constexpr int OneTime = 1;
constexpr int Two = 2; // never written by Plumora; each reader's rule says what it does with it
constexpr int Weekly = 3;
constexpr int Monthly = 4;
constexpr int Yearly = 5;
} // namespace EventFrequency

// The three System switches that show downloaded holidays, as the calendar window copies
// them (AddH, AddC, AddA) and the reminder reads them.
struct HolidayFlags {
    bool addHolidays = false; // international: Holiday 1 ... 99
    bool addCanada = false;   // Canada: Holiday 101 ... 199
    bool addAmerica = false;  // United States: Holiday 201 and above
};

// The switches as the user set them in Options.
inline HolidayFlags holidayFlags(const Settings& s) {
    return {s.addHolidays, s.addCanada, s.addAmerica};
}
