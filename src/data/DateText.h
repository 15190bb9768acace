// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// Dates in data.plm are ISO text: "YYYY-MM-DD" and "YYYY-MM-DD HH:MM". Reading is
// tolerant of seconds and of a "T" separator, so files written by hand still load.
namespace DateText {

QString fromDate(const QDate& d);
QString fromDateTime(const QDateTime& dt);

// An invalid date/time when the value is null or not a date.
QDate toDate(const QVariant& v);
QDateTime toDateTime(const QVariant& v);

} // namespace DateText
