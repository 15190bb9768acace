// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include <vector>

// Writes what the user changed in Plumora into an event another program wrote (KeptEvent),
// leaving everything else of it as it was: alarms, end or duration, time zones, location,
// attendees, unknown properties and parameters. The change is read from the kept rows and
// the rows Plumora holds now:
// - a text changed: SUMMARY; for a timed event the "HH:MM " before the text is its start
//   time, and a new time moves the start in the event's own zone, the end with it;
// - a date changed: the start (and the end with it) moves by as many days;
// - the repeat of a one-row event changed: its RRULE;
// - in a series kept as single dates (one row per occurrence): a deleted occurrence becomes
//   an EXDATE in the series' value type and zone, a changed one a RECURRENCE-ID override
//   for that occurrence only, a date added an RDATE;
// - an event of several days (one row per day) is renamed whichever day was renamed, and
//   spans the days its rows span.
// The changed VEVENTs get a new DTSTAMP and LAST-MODIFIED and a raised SEQUENCE. Every
// line and sub-component libical reads the same as before is written with the kept bytes
// (only line ends become CRLF), so the rest stays as the other program wrote it.
class EventPatch {
public:
    // The kept event with `rows` (the event's rows now, not empty) written into it, stamped
    // `now`. `zone` is the zone the rows' dates and times were shown in. What the rows say
    // that the event cannot take (a repeat set on one date of a series) is left out and
    // named in `notes`. The kept text itself when nothing changed.
    static QByteArray write(const KeptEvent& kept, const std::vector<EventRow>& rows,
                            const QDateTime& now,
                            const QTimeZone& zone = QTimeZone::systemTimeZone(),
                            QStringList* notes = nullptr);

    // Whether the rows differ from those the event was kept with (dates, repeats, texts).
    static bool changed(const KeptEvent& kept, const std::vector<EventRow>& rows);
};
