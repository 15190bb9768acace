// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FiringRules.h"

namespace FiringRules {

bool fires(const QDate& dueDate, const QTime& dueTime, int frequency, const QDate& day,
           const QTime& minute) {
    if (!dueDate.isValid() || !dueTime.isValid() || !day.isValid() || !minute.isValid())
        return false;
    if (dueDate > day || (frequency == OneTime && dueDate < day))
        return false;
    if (dueTime.hour() != minute.hour() || dueTime.minute() != minute.minute())
        return false;
    switch (frequency) {
    case OneTime:
    case Daily:
        return true;
    case Weekly:
        return dueDate.dayOfWeek() == day.dayOfWeek();
    case Monthly:
        // No month-end adjustment: an entry of the 31st skips shorter months.
        return dueDate.day() == day.day();
    case Yearly:
        // 29 February falls only in leap years.
        return dueDate.month() == day.month() && dueDate.day() == day.day();
    default:
        return false;
    }
}

qint64 minuteIndex(const QDateTime& t) {
    const qint64 ms = t.toMSecsSinceEpoch();
    return ms >= 0 ? ms / 60000 : (ms - 59999) / 60000;
}

qint64 minutesBetween(const QDateTime& from, const QDateTime& to) {
    return minuteIndex(to) - minuteIndex(from);
}

} // namespace FiringRules
