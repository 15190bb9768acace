// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/LocaleFormats.h"
#include "scheduler/ScheduleRow.h"

#include <QColor>
#include <QLocale>
#include <QPalette>
#include <QString>

// What one entry of the schedule list shows in its four text columns, and in which colours.
struct ScheduleRowText {
    static QString launchText();    // "Launch Program"
    static QString shutDownText();  // "Shut Down System"
    static QString hibernateText(); // "On Hibernation"
    static QString powerOffText();  // "Shut down the computer and power off."

    // Text colours; the system ones come from the window's palette.
    enum class Ink { WindowText, GreyText, Green, DarkRed, Black };

    QString type;                  // "Launch Program", "Shut Down System", or "" for another type
    QString description;           // program path, "On Hibernation", the power-off text, or ""
    QString when;                  // short date, a blank, the time (whenText); "" if unreadable
    QString frequency;             // "none", "one time", "daily", "weekly", "monthly", "yearly"
    Ink textInk = Ink::WindowText; // type, description, date and frequency columns
    Ink typeInk = Ink::Black;      // the type column, painted over textInk

    static ScheduleRowText of(const ScheduleRow& row,
                              const QLocale& locale = LocaleFormats::timeLocale());

    // A Frequency code's name; any unknown code reads "none".
    static QString frequencyName(int frequency);
    // The short date, a blank, then the time: "h:mm AM/PM" in English, else the short time.
    static QString whenText(const QDate& date, const QTime& time, const QLocale& locale);
    static QColor colour(Ink ink, const QPalette& palette);
};
