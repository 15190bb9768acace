// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MissedEntriesJob.h"

#include "base/Log.h"
#include "shell/MissedMinutes.h"

MissedEntriesJob::MissedEntriesJob(std::function<void(const QList<QDateTime>&)> lateAlarm)
    : m_lateAlarm(std::move(lateAlarm)) {}

void MissedEntriesJob::run(MinuteContext& minute) {
    if (!minute.gap || !minute.cache.hasDueEntries)
        return;
    const QDate today = minute.now.date();
    const MissedMinutes::Review review = MissedMinutes::review(minute.cache.entries, *minute.gap);
    QList<QDateTime> alarms;
    QStringList lines;
    for (const MissedMinutes::Missed& late : review.lateAlarms) {
        lines.append(QStringLiteral("Note alarm: ") + MissedMinutes::lateMark(late.at, today));
        const QDateTime at(late.at.date, late.at.time);
        if (!alarms.contains(at))
            alarms.append(at);
    }
    for (const MissedMinutes::Missed& skipped : review.skipped) {
        const QString line = MissedMinutes::skippedLine(skipped, today);
        qCInfo(lcTick) << line << "(due while the tick was not running)";
        lines.append(line);
    }
    lines.removeDuplicates();
    minute.missed.append(lines);
    if (!alarms.isEmpty() && m_lateAlarm)
        m_lateAlarm(alarms);
}
