// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/WeekStart.h"

#include "base/LocaleFormats.h"
#include "data/ToolSetting.h"

namespace WeekStart {

SchemaPart tables() {
    const QString create = QStringLiteral("CREATE TABLE CalendarSettings (WeekStart INTEGER)");
    SchemaPart part;
    part.create = {create};
    part.steps[7] = {createIfMissing(create)};
    return part;
}

Choice read(const QString& dataFile) {
    bool ok = false;
    const int stored = ToolSetting(dataFile, Table, Column).value().toInt(&ok);
    if (ok && (stored == int(Choice::System) || stored == int(Choice::Monday)))
        return Choice(stored);
    return Choice::Sunday;
}

bool write(const QString& dataFile, Choice choice, CommitListener* changes) {
    return ToolSetting(dataFile, Table, Column, {}, changes).set(int(choice));
}

Qt::DayOfWeek firstDay(Choice choice, const QLocale& locale) {
    switch (choice) {
    case Choice::Monday:
        return Qt::Monday;
    case Choice::System:
        return locale.firstDayOfWeek();
    case Choice::Sunday:
        break;
    }
    return Qt::Sunday;
}

QLocale timeLocale() {
    return LocaleFormats::timeLocale();
}

QLocale timeLocale(const QByteArray& lcAll, const QByteArray& lcTime, const QByteArray& lang) {
    return LocaleFormats::timeLocale(lcAll, lcTime, lang);
}

} // namespace WeekStart
