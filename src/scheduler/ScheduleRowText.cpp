// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduleRowText.h"

#include "base/LocaleFormats.h"
#include "shell/FiringRules.h"

const QString ScheduleRowText::LaunchText = QStringLiteral("Launch Program");
const QString ScheduleRowText::ShutDownText = QStringLiteral("Shut Down System");
const QString ScheduleRowText::HibernateText = QStringLiteral("On Hibernation");
const QString ScheduleRowText::PowerOffText =
    QStringLiteral("Shut down the computer and power off.");

QString ScheduleRowText::frequencyName(int frequency) {
    switch (frequency) {
    case FiringRules::OneTime:
        return QStringLiteral("one time");
    case FiringRules::Daily:
        return QStringLiteral("daily");
    case FiringRules::Weekly:
        return QStringLiteral("weekly");
    case FiringRules::Monthly:
        return QStringLiteral("monthly");
    case FiringRules::Yearly:
        return QStringLiteral("yearly");
    default:
        return QStringLiteral("none");
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
        t.type = LaunchText;
        t.description = row.launch;
    } else if (row.schType == ScheduleType::ShutDownSystem) {
        t.type = ShutDownText;
        t.description = row.hibernates() ? HibernateText : PowerOffText;
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
