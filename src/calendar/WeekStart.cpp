// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/WeekStart.h"

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
    return timeLocale(qgetenv("LC_ALL"), qgetenv("LC_TIME"), qgetenv("LANG"));
}

QLocale timeLocale(const QByteArray& lcAll, const QByteArray& lcTime, const QByteArray& lang) {
    QByteArray name = !lcAll.isEmpty() ? lcAll : !lcTime.isEmpty() ? lcTime : lang;
    // "de_DE.UTF-8@euro": the codeset and the modifier say nothing of the formats.
    for (const char end : {'.', '@'})
        if (const qsizetype at = name.indexOf(end); at >= 0)
            name.truncate(at);
    if (name.isEmpty() || name == "C" || name == "POSIX")
        return QLocale::c();
    const QLocale locale(QString::fromLatin1(name));
    // QLocale takes a name it does not know for C; "xx_YY" must not turn into the default.
    return locale.language() == QLocale::C ? QLocale::c() : locale;
}

} // namespace WeekStart
