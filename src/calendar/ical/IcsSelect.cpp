// SPDX-License-Identifier: GPL-3.0-or-later
// The rows an export writes, read in the program itself: only the writing needs libical.
#include "calendar/EventExport.h"
#include "calendar/EventRules.h"
#include "calendar/EventStore.h"
#include "calendar/ical/IcsExport.h"

bool IcsExport::select(EventStore& store, int range, const QDate& selected, const QDate& today,
                       bool withHolidays, const HolidayFlags& flags, std::vector<EventRow>& rows,
                       QString* error) {
    QDate from = EventRules::EarliestDate, to = EventRules::LatestDate;
    if (range != All) {
        const EventExport::Range r = EventExport::range(range, selected, today);
        from = r.from;
        to = r.to;
    }
    std::vector<EventRow> read = store.readForExport(from, to);
    if (!store.lastError().isEmpty()) {
        if (error)
            *error = store.lastError();
        return false;
    }
    rows.clear();
    for (EventRow& r : read) {
        if (!r.eDate.isValid() || r.frequency == EventFrequency::Two)
            continue;
        if (r.holiday != 0 && (!withHolidays || EventRules::isHidden(r.holiday, flags)))
            continue;
        bool inRange = range == All;
        for (QDate d = from; !inRange && d <= to; d = d.addDays(1))
            inRange = EventRules::fallsOn(r, d);
        if (inRange)
            rows.push_back(std::move(r));
    }
    return true;
}
