// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

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
