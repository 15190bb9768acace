// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// How dates and times are written for the user: in the locale of the time formats
// (LC_TIME), whatever language the texts are in. Formats kept as data (the data file, SQL
// text) never come here.
namespace LocaleFormats {

// The first of LC_ALL, LC_TIME and LANG that is set (the C library's order); the C locale
// when none is, or when it names no locale Qt knows.
QLocale timeLocale();
QLocale timeLocale(const QByteArray& lcAll, const QByteArray& lcTime, const QByteArray& lang);

// A month over a grid: the standalone month name and the year, "Dezember 2026".
QString monthHeading(const QDate& date, const QLocale& locale);

// The locale's short date, "05/12/2026" in en_GB.
QString shortDate(const QDate& date, const QLocale& locale);

// The locale's short time to the minute: seconds are left out even where the format has them
// (the C locale's "HH:mm:ss").
QString shortTime(const QTime& time, const QLocale& locale);

// A clock time written "7:05 PM" (hour without a leading zero, upper-case AM/PM) where the
// texts are English, that is for English and the C locale; other locales write their own
// short time ("19:05" in German).
QString clockTime(const QTime& time, const QLocale& locale);

// A time picker's format to the minute: "hh:mm AP" where the texts are English, the locale's
// own short time elsewhere ("HH:mm" in German).
QString pickerTimeFormat(const QLocale& locale);

} // namespace LocaleFormats
