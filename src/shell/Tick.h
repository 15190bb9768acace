// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AppPaths.h"
#include "shell/DueEntries.h"
#include "shell/Jobs.h"
#include "shell/MinuteGate.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

class ChangeHub;
class Clock;

// The one-minute heartbeat: keeps the cache of settings and due entries current (reloaded
// only when data.plm changed), decides which wall minutes this tick handles, and runs the
// minute jobs over them in their order. No job can stop another, and nothing is shown.
class Tick {
public:
    Tick(Clock& clock, AppPaths paths, std::function<bool()> onlineTest);
    ~Tick();

    void addJob(std::unique_ptr<MinuteJob> job);
    // The jobs' names in the order they run.
    QStringList jobNames() const;
    // A tool's reader of its due entries, read with the cache from the next reload on; the
    // cache is read again whenever one of `tables` (those the reader reads) changes.
    void addDueReader(DueReader reader, const QStringList& tables) {
        m_dueReaders.append(std::move(reader));
        for (const QString& t : tables) {
            if (!m_kept.contains(t))
                m_kept.append(t);
        }
        invalidateCache();
    }
    // What the due entries do, by the action they name (DueEntry::action).
    void addDueActions(const DueActions& actions) { m_dueActions.insert(actions); }
    // Told the jobs' lines about minutes passed over (MinuteContext::missed), when any.
    void setMissedNotice(std::function<void(const QStringList&)> notice) {
        m_missedNotice = std::move(notice);
    }

    // The hub told when the data file's stamp shows another process's write.
    void setChanges(ChangeHub* changes) { m_changes = changes; }

    // One timer event, at the clock's time or at `now` (the clock's, read once by the caller).
    void run();
    void run(const QDateTime& now);
    // Reloads the cache from the data file; false when part of it could not be read.
    bool reloadCache();
    // When the timer should wake next: just after the coming minute boundary.
    int msUntilNextTick() const;

    const TickCache& cache() const { return m_cache; }
    // How many times the cache was read from the data file.
    int reloads() const { return m_reloads; }
    // Forgets the data file's stamp, so the next tick reloads.
    void invalidateCache() { m_lastStamp = -1; }
    // Something a job may judge from changed: every job runs at the next tick, resting or
    // not (MinuteJob::nextNeeded).
    void wakeJobs() { std::fill(m_nextNeeded.begin(), m_nextNeeded.end(), 0); }
    // A table was announced as changed (ChangeHub::changed): one the cache holds is read
    // again at once, whatever the file's stamp says, so the jobs follow settings and
    // entries even where a write leaves the stamp as it was (a coarse file system). Any
    // table wakes the jobs.
    void tableChanged(const QString& table);
    // The tables the cache is read from: the settings' and those the due readers name.
    bool keeps(const QString& table) const;

private:
    void reloadWhenChanged(qint64 stamp);
    // The jobs' part of a tick, kept apart so that an idle minute's code stays small.
    Q_NEVER_INLINE void runJobs(const QDateTime& now, const MinuteGate::Span& minutes,
                                const FileState& data, quint64 commitsBefore);

    Clock& m_clock;
    AppPaths m_paths;
    ChangeHub* m_changes = nullptr;
    std::function<bool()> m_onlineTest;
    QByteArray m_dataFileName; // the data file's path as the file system spells it
    std::vector<std::unique_ptr<MinuteJob>> m_jobs;
    // When each job next needs its minute, in ms since the epoch; 0 for the next tick.
    std::vector<qint64> m_nextNeeded;
    // The time of the last tick and its offset, to see the clock set back or re-zoned.
    qint64 m_lastTickMs = std::numeric_limits<qint64>::min();
    int m_lastOffset = std::numeric_limits<int>::min();
    QList<DueReader> m_dueReaders;
    DueActions m_dueActions;
    QStringList m_kept{QStringLiteral("System")};
    std::function<void(const QStringList&)> m_missedNotice;
    TickCache m_cache;
    MinuteGate m_gate;
    // data.plm's last-modified stamp when the cache was loaded; -1 forces the next load.
    qint64 m_lastStamp = -1;
    int m_reloads = 0;
};
