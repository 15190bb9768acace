// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LocaleFormats.h"

#include <QRegularExpression>

namespace LocaleFormats {

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

namespace {

bool writesEnglishClock(const QLocale& locale) {
    return locale.language() == QLocale::English || locale.language() == QLocale::C;
}

// The locale's short time format with the seconds left out.
QString shortTimeFormat(const QLocale& locale) {
    // The seconds with what separates them from the minutes: ":ss", ".ss", " ss".
    static const QRegularExpression seconds(QStringLiteral("[^Hhm]?s+"));
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(seconds);
    return format.trimmed();
}

} // namespace

QString monthHeading(const QDate& date, const QLocale& locale) {
    if (!date.isValid())
        return {};
    // "MMMM" gives the name as it stands in a full date, which differs from the name of the
    // month on its own in many languages (Russian "декабря" against "декабрь").
    return locale.standaloneMonthName(date.month()) + u' ' +
           locale.toString(date, QStringLiteral("yyyy"));
}

QString shortDate(const QDate& date, const QLocale& locale) {
    return date.isValid() ? locale.toString(date, QLocale::ShortFormat) : QString();
}

QString shortTime(const QTime& time, const QLocale& locale) {
    return time.isValid() ? locale.toString(time, shortTimeFormat(locale)) : QString();
}

QString clockTime(const QTime& time, const QLocale& locale) {
    if (!time.isValid())
        return {};
    if (writesEnglishClock(locale))
        return QLocale::c().toString(time, QStringLiteral("h:mm AP"));
    return shortTime(time, locale);
}

QString pickerTimeFormat(const QLocale& locale) {
    return writesEnglishClock(locale) ? QStringLiteral("hh:mm AP") : shortTimeFormat(locale);
}

} // namespace LocaleFormats
