// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MissedEntriesJob.h"

#include "base/Log.h"
#include "shell/MissedMinutes.h"

void MissedEntriesJob::run(MinuteContext& minute) {
    if (!minute.gap || !minute.cache.hasDueEntries)
        return;
    const QDate today = minute.now.date();
    const MissedMinutes::Review review = MissedMinutes::review(minute.cache.entries, *minute.gap);
    // Each action's late alarms, in the order their entries come.
    QStringList actions;
    QHash<QString, QList<QDateTime>> alarms;
    QStringList lines;
    for (const MissedMinutes::Missed& late : review.lateAlarms) {
        const DueAction* action = minute.dueAction(late.entry.action);
        if (!action || !action->fireLate) {
            qCWarning(lcTick) << "late alarm of" << late.entry.action << "has no handler";
            continue;
        }
        lines.append(action->lateName + QStringLiteral(": ") +
                     MissedMinutes::lateMark(late.at, today));
        QList<QDateTime>& minutes = alarms[late.entry.action];
        if (minutes.isEmpty())
            actions.append(late.entry.action);
        const QDateTime at(late.at.date, late.at.time);
        if (!minutes.contains(at))
            minutes.append(at);
    }
    for (const MissedMinutes::Missed& skipped : review.skipped) {
        const QString line = MissedMinutes::skippedLine(skipped, today);
        qCInfo(lcTick) << line << "(due while the tick was not running)";
        lines.append(line);
    }
    lines.removeDuplicates();
    minute.missed.append(lines);
    for (const QString& id : std::as_const(actions))
        minute.dueAction(id)->fireLate(alarms.value(id));
}
