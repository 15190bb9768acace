// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Jobs.h"

#include "shell/FiringRules.h"

#include <algorithm>

bool MinuteContext::includesHourStart() const {
    return std::any_of(minutes.begin(), minutes.end(),
                       [](const WallMinute& m) { return m.time.minute() == 0; });
}

FileState MinuteContext::fileState(const QByteArray& encodedPath) {
    if (encodedPath != m_dataPath || !m_changes)
        return ::fileState(encodedPath);
    const quint64 commits = m_changes->commits();
    if (commits != m_commitsSeen) {
        m_data = ::fileState(encodedPath);
        m_commitsSeen = commits;
    }
    return m_data;
}

void MinuteContext::shareDataFile(const QByteArray& encodedPath, const FileState& state,
                                  const ChangeHub* changes, quint64 commitsBefore) {
    m_dataPath = encodedPath;
    m_data = state;
    m_changes = changes;
    m_commitsSeen = commitsBefore;
}

bool intervalPassed(const QDateTime& last, const QDateTime& now, int interval) {
    if (!last.isValid())
        return true;
    const qint64 minutes = FiringRules::minutesBetween(last, now);
    return minutes < 0 || minutes >= interval;
}

QDateTime intervalEnds(const QDateTime& last, const QDateTime& now, int interval) {
    if (intervalPassed(last, now, interval))
        return {};
    // intervalPassed counts minute boundaries: the interval ends at the start of a minute.
    return QDateTime::fromMSecsSinceEpoch(
        (FiringRules::minuteIndex(last) + interval) * qint64(60000), Qt::UTC);
}

QDateTime MinuteJob::untilChanged() {
    // Far beyond any tick; only a wake brings the job back.
    static const QDateTime never(QDate(9999, 12, 31), QTime(0, 0), Qt::UTC);
    return never;
}
