// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/ReminderList.h"

#include "calendar/EventRules.h"
#include "calendar/EventStore.h"
#include "data/DataFile.h"
#include "data/Settings.h"

#include <QCoreApplication>

#include <algorithm>

namespace ReminderRules {

ReminderList build(const std::vector<EventRow>& rows, const QDate& today, int notifyAgo,
                   const HolidayFlags& flags) {
    ReminderList list;
    for (const EventRow& row : rows) {
        if (!EventRules::reminderAccepts(row, today, notifyAgo, flags))
            continue;
        list.found.push_back(row);
        list.entries.push_back(
            {EventRules::reminderNextDate(row, today), row.description, int(list.found.size())});
    }
    // The icon index is the last key, as found order, so equal entries keep their order.
    std::sort(list.entries.begin(), list.entries.end(),
              [](const Announcement& a, const Announcement& b) {
                  if (a.date != b.date)
                      return a.date < b.date;
                  const int byText = QString::compare(a.text, b.text, Qt::CaseInsensitive);
                  if (byText != 0)
                      return byText < 0;
                  return a.icon < b.icon;
              });
    return list;
}

ReminderList load(const SettingsStore& stored, EventStore& events, const QDate& today) {
    const std::optional<Settings> settings = stored.load();
    if (!settings)
        return {};
    const int notifyAgo = settings->notifyAgo;
    const HolidayFlags flags = holidayFlags(*settings);
    // No row can lie a negative number of days ahead; spare the query.
    if (notifyAgo < 0)
        return {};
    return build(events.readForReminder(today, today.addDays(notifyAgo)), today, notifyAgo, flags);
}

QString daysText(const QDate& today, const QDate& date) {
    const qint64 days = today.daysTo(date);
    if (days == 0)
        return QCoreApplication::translate("ReminderRules", "Today's event.");
    return QCoreApplication::translate("ReminderRules", "%1 day(s) from now.").arg(days);
}

} // namespace ReminderRules
