// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduleRowText.h"

#include "base/LocaleFormats.h"
#include "shell/FiringRules.h"

#include <QCoreApplication>

QString ScheduleRowText::launchText() {
    return QCoreApplication::translate("ScheduleRowText", "Launch Program");
}
QString ScheduleRowText::shutDownText() {
    return QCoreApplication::translate("ScheduleRowText", "Shut Down System");
}
QString ScheduleRowText::hibernateText() {
    return QCoreApplication::translate("ScheduleRowText", "On Hibernation");
}
QString ScheduleRowText::powerOffText() {
    return QCoreApplication::translate("ScheduleRowText", "Shut down the computer and power off.");
}

QString ScheduleRowText::frequencyName(int frequency) {
    switch (frequency) {
    case FiringRules::OneTime:
        return QCoreApplication::translate("ScheduleRowText", "one time");
    case FiringRules::Daily:
        return QCoreApplication::translate("ScheduleRowText", "daily");
    case FiringRules::Weekly:
        return QCoreApplication::translate("ScheduleRowText", "weekly");
    case FiringRules::Monthly:
        return QCoreApplication::translate("ScheduleRowText", "monthly");
    case FiringRules::Yearly:
        return QCoreApplication::translate("ScheduleRowText", "yearly");
    default:
        return QCoreApplication::translate("ScheduleRowText", "none");
    }
}

QString ScheduleRowText::whenText(const QDate& date, const QTime& time, const QLocale& locale) {
    if (!date.isValid() || !time.isValid())
        return {};
    return LocaleFormats::shortDate(date, locale) + u' ' + LocaleFormats::clockTime(time, locale);
}

ScheduleRowText ScheduleRowText::of(const ScheduleRow& row, const QLocale& locale) {
    ScheduleRowText t;
    if (row.schType == ScheduleType::LaunchProgram) {
        t.type = launchText();
        t.description = row.launch;
    } else if (row.schType == ScheduleType::ShutDownSystem) {
        t.type = shutDownText();
        t.description = row.hibernates() ? hibernateText() : powerOffText();
    }
    t.when = whenText(row.date, row.time, locale);
    t.frequency = frequencyName(row.frequency);

    if (row.frequency == FiringRules::Inactive) {
        t.textInk = t.typeInk = Ink::GreyText;
    } else {
        t.textInk = Ink::WindowText;
        t.typeInk = row.schType == ScheduleType::LaunchProgram    ? Ink::Green
                    : row.schType == ScheduleType::ShutDownSystem ? Ink::DarkRed
                                                                  : Ink::Black;
    }
    return t;
}

QColor ScheduleRowText::colour(Ink ink, const QPalette& palette) {
    switch (ink) {
    case Ink::WindowText:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case Ink::GreyText:
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    case Ink::Green:
        return QColor(0, 128, 0);
    case Ink::DarkRed:
        return QColor(128, 0, 0);
    case Ink::Black:
        break;
    }
    return QColor(0, 0, 0);
}
