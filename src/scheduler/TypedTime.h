// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

// A time of day as a user types it into a time box in one go: "21:45", "9:45 pm", "9.45PM",
// "0945", "945p", "7" (seven o'clock), "12 am" (midnight). Without AM or PM the hour runs
// from 0 to 23, with it from 1 to 12; the locale's own AM and PM texts count too. Nothing
// for anything else.
namespace TypedTime {

std::optional<QTime> read(const QString& typed, const QLocale& locale = QLocale());

} // namespace TypedTime
