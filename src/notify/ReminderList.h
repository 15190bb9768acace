// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QDate>
#include <QString>

#include <vector>

class EventStore;
class SettingsStore;

// What one showing of the reminder announces: the coming events, in the order they are
// shown, and the rows they came from. Built once when the reminder loads.
struct Announcement {
    QDate date;   // the next occurrence being announced
    QString text; // the event's description
    int icon = 0; // 1-based: picture `icon` is the icon of found[icon - 1]
};

struct ReminderList {
    std::vector<Announcement> entries; // in showing order
    std::vector<EventRow> found;       // the accepted rows, in the order they were read

    bool isEmpty() const { return entries.empty(); }
};

namespace ReminderRules {

// Every row the reminder accepts for today (EventRules::reminderAccepts), ordered by
// next date, then description without regard to case, then the order they were read.
// There is no cap on the number of entries.
ReminderList build(const std::vector<EventRow>& rows, const QDate& today, int notifyAgo,
                   const HolidayFlags& flags);

// Reads NotifyAgo and the holiday switches from System and the rows from Events, one
// operation each. An unreadable file announces nothing.
ReminderList load(const SettingsStore& settings, EventStore& events, const QDate& today);

// DaysLB's text for an event on `date`, seen from `today`.
QString daysText(const QDate& today, const QDate& date);

} // namespace ReminderRules
