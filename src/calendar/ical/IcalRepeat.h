// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QDate>

#include <libical/ical.h>

// The RRULE frequency of a repeating Frequency code; ICAL_NO_RECURRENCE for any other.
inline icalrecurrencetype_frequency icalRepeat(int frequency) {
    switch (frequency) {
    case EventFrequency::Weekly:
        return ICAL_WEEKLY_RECURRENCE;
    case EventFrequency::Monthly:
        return ICAL_MONTHLY_RECURRENCE;
    case EventFrequency::Yearly:
        return ICAL_YEARLY_RECURRENCE;
    default:
        return ICAL_NO_RECURRENCE;
    }
}

// Where an iteration of `rule` from `start` may begin so that its first date is the rule's
// first on or after `day`, for a rule repeating daily or less often; null when it must be
// walked from the start. An evenly spaced COUNT is turned into the UNTIL of its last date in
// `rule` first, so that such a rule can begin there too.
icaltimetype icalResumeAt(icalrecurrencetype& rule, const icaltimetype& start, const QDate& day);

// The start an RDATE property gives (a date, a date and time, or a period's start); null
// when it gives none.
icaltimetype icalRdateStart(icalproperty* p);
