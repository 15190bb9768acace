// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// When a scheduled action or a note alarm fires. Entries keep their first date for ever:
// a repeating entry fires on every later day that matches its pattern, a one-time entry
// only on its own date. Seconds never matter.
namespace FiringRules {

// The repetition codes shared by Schedule and QNotes.
enum Frequency { Inactive = 0, OneTime = 1, Daily = 2, Weekly = 3, Monthly = 4, Yearly = 5 };

// Whether an entry due at `dueDate` `dueTime` with `frequency` fires in the minute
// `day` `minute` (local wall-clock time).
bool fires(const QDate& dueDate, const QTime& dueTime, int frequency, const QDate& day,
           const QTime& minute);

// Minute boundaries crossed from `from` to `to` (negative when `to` is earlier). Counting
// boundaries rather than 60-second spans keeps "every N minutes" from slipping a minute
// when a tick lands a few milliseconds earlier than the one before.
qint64 minutesBetween(const QDateTime& from, const QDateTime& to);
// Minutes from the epoch to the minute `t` falls in.
qint64 minuteIndex(const QDateTime& t);

} // namespace FiringRules
