// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/FileSchema.h"

#include <QLocale>
#include <QString>

class CommitListener;

// The day the month grid's rows start on, as the user chose it in Options ("Weeks start
// on"). Kept in the calendar's own one-row table; the weekly rules, which fire on a
// weekday, do not depend on it.
namespace WeekStart {

// Stored as these numbers: Qt's for the two days, 0 for the locale's own.
enum class Choice { System = 0, Monday = 1, Sunday = 7 };

inline const QString Table = QStringLiteral("CalendarSettings");
inline const QString Column = QStringLiteral("WeekStart");

// The calendar's settings table.
SchemaPart tables();

// The stored choice; Sunday when none is stored or the value is not one of the three.
Choice read(const QString& dataFile);
bool write(const QString& dataFile, Choice choice, CommitListener* changes = nullptr);

// The locale dates and times are written in (LocaleFormats::timeLocale): the first of LC_ALL,
// LC_TIME and LANG that is set; the C locale when none is, or when it is not a locale at all.
QLocale timeLocale();
QLocale timeLocale(const QByteArray& lcAll, const QByteArray& lcTime, const QByteArray& lang);

// The first day of a grid row for `choice`; `locale`'s first day for System.
Qt::DayOfWeek firstDay(Choice choice, const QLocale& locale = timeLocale());

} // namespace WeekStart
