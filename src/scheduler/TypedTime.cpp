// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/TypedTime.h"

#include <QRegularExpression>

namespace TypedTime {

namespace {

enum class Half { None, Am, Pm };

// Takes an AM or PM mark off the end of `text`.
Half takeHalf(QString& text, const QLocale& locale) {
    const QString lower = text.toLower();
    const QString marks[][4] = {{locale.amText().toLower(), QStringLiteral("a.m."),
                                 QStringLiteral("am"), QStringLiteral("a")},
                                {locale.pmText().toLower(), QStringLiteral("p.m."),
                                 QStringLiteral("pm"), QStringLiteral("p")}};
    for (int half = 0; half < 2; ++half)
        for (const QString& mark : marks[half])
            if (!mark.isEmpty() && lower.endsWith(mark)) {
                text.chop(mark.size());
                return half == 0 ? Half::Am : Half::Pm;
            }
    return Half::None;
}

} // namespace

std::optional<QTime> read(const QString& typed, const QLocale& locale) {
    QString text = typed.simplified();
    const Half half = takeHalf(text, locale);
    text.remove(u' ');
    static const QRegularExpression separated(QStringLiteral("^(\\d{1,2})(?:[:.h](\\d{2}))?$"));
    static const QRegularExpression run(QStringLiteral("^(\\d{1,2})(\\d{2})$"));
    QRegularExpressionMatch m = separated.match(text);
    if (!m.hasMatch())
        m = run.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    if (minute > 59)
        return std::nullopt;
    if (half == Half::None) {
        if (hour > 23)
            return std::nullopt;
    } else {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == Half::Pm ? 12 : 0);
    }
    return QTime(hour, minute);
}

} // namespace TypedTime
