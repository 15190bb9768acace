// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MissedMinutes.h"

#include "base/LocaleFormats.h"
#include "shell/FiringRules.h"

#include <QCoreApplication>
#include <QLocale>

namespace MissedMinutes {

namespace {
// A yearly entry comes round within this many days; older parts of a longer gap (a clock
// set forward by years) add nothing but work.
constexpr int DaysLookedAt = 367;

QString at(const WallMinute& m, const QDate& today) {
    const QLocale locale = LocaleFormats::timeLocale();
    const QString time = LocaleFormats::shortTime(m.time, locale);
    if (m.date == today)
        return time;
    return LocaleFormats::shortDate(m.date, locale) + u' ' + time;
}

} // namespace

std::optional<WallMinute> lastDueIn(const DueEntry& entry, const MinuteGap& gap) {
    if (!entry.date.isValid() || !entry.time.isValid() || gap.last < gap.first)
        return std::nullopt;
    const QDate stop = std::max(gap.first.date, gap.last.date.addDays(-DaysLookedAt));
    for (QDate day = gap.last.date; day >= stop; day = day.addDays(-1)) {
        const WallMinute m{day, entry.time};
        if (m < gap.first)
            break;
        if (gap.last < m)
            continue;
        if (FiringRules::fires(entry.date, entry.time, entry.frequency, day, entry.time))
            return m;
    }
    return std::nullopt;
}

Review review(const QList<DueEntry>& entries, const MinuteGap& gap) {
    Review r;
    for (const DueEntry& entry : entries) {
        const std::optional<WallMinute> due = lastDueIn(entry, gap);
        if (!due)
            continue;
        (entry.name.isEmpty() ? r.lateAlarms : r.skipped).append({*due, entry});
    }
    return r;
}

QString lateMark(const WallMinute& m, const QDate& today) {
    return QCoreApplication::translate("MissedMinutes", "%1 — while this computer was asleep")
        .arg(at(m, today));
}

QString skippedLine(const Missed& missed, const QDate& today) {
    return QCoreApplication::translate("MissedMinutes", "Not run: %1 at %2")
        .arg(missed.entry.name, at(missed.at, today));
}

QString notice(const QStringList& lines, int maxLines) {
    QStringList shown = lines.mid(0, maxLines);
    if (lines.size() > maxLines)
        shown.append(QCoreApplication::translate("MissedMinutes", "and %1 more")
                         .arg(lines.size() - maxLines));
    return shown.join(u'\n');
}

} // namespace MissedMinutes
