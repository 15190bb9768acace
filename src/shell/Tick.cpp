// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Tick.h"

#include "base/Clock.h"
#include "base/IdlePath.h"
#include "base/Log.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"

#include <QFile>

#include <exception>

Tick::Tick(Clock& clock, AppPaths paths, std::function<bool()> onlineTest)
    : m_clock(clock), m_paths(std::move(paths)), m_onlineTest(std::move(onlineTest)),
      m_dataFileName(QFile::encodeName(m_paths.dataFile())) {}

Tick::~Tick() = default;

QStringList Tick::jobNames() const {
    QStringList names;
    for (const auto& job : m_jobs)
        names << QLatin1String(job->name());
    return names;
}

void Tick::addJob(std::unique_ptr<MinuteJob> job) {
    m_jobs.push_back(std::move(job));
    m_nextNeeded.push_back(0);
}

void Tick::run() {
    run(m_clock.nowWithFixedOffset());
}

PLUMORA_IDLE_PATH void Tick::run(const QDateTime& clockNow) {
    // One look at the data file serves the whole tick, until a write.
    const quint64 commitsBefore = m_changes ? m_changes->commits() : 0;
    const FileState data = fileState(m_dataFileName);
    reloadWhenChanged(data.modifiedNs);

    // One reading of the clock serves the whole tick.
    const QDateTime now = withFixedOffset(clockNow);
    const qint64 nowMs = now.toMSecsSinceEpoch();
    // A resting job judged from a clock that was since set back, or from another offset
    // (summer time, another zone): the hours and days it waited for start elsewhere.
    if (nowMs < m_lastTickMs || now.offsetFromUtc() != m_lastOffset)
        wakeJobs();
    m_lastTickMs = nowMs;
    m_lastOffset = now.offsetFromUtc();
    const MinuteGate::Span minutes = m_gate.advanceSpan(now);
    // A second tick inside a minute already handled does nothing more, and neither does a
    // minute in which every job rests: an idle minute ends here.
    if (minutes.count == 0)
        return;
    if (!m_gate.skipped() && std::none_of(m_nextNeeded.cbegin(), m_nextNeeded.cend(),
                                          [nowMs](qint64 next) { return nowMs >= next; }))
        return;
    runJobs(now, minutes, data, commitsBefore);
}

void Tick::runJobs(const QDateTime& now, const MinuteGate::Span& minutes, const FileState& data,
                   quint64 commitsBefore) {
    const qint64 nowMs = now.toMSecsSinceEpoch();
    MinuteContext context(now, minutes.minutes(), m_cache, m_onlineTest);
    context.dueActions = &m_dueActions;
    context.shareDataFile(m_dataFileName, data, m_changes, commitsBefore);
    context.gap = m_gate.skipped();
    if (context.gap) {
        qCInfo(lcTick) << "the wall clock moved on by more than a tick:" << context.gap->first.date
                       << context.gap->first.time << "to" << context.gap->last.date
                       << context.gap->last.time << "passed over";
        wakeJobs();
    }
    // A resting job is passed by without a call.
    for (size_t i = 0; i < m_jobs.size(); ++i) {
        if (nowMs < m_nextNeeded[i])
            continue;
        MinuteJob& job = *m_jobs[i];
        try {
            job.run(context);
            const QDateTime next = job.nextNeeded(context);
            m_nextNeeded[i] = next.isValid() ? next.toMSecsSinceEpoch() : 0;
        } catch (const std::exception& e) {
            m_nextNeeded[i] = 0;
            qCWarning(lcTick) << "job" << job.name() << "failed:" << e.what();
        } catch (...) {
            m_nextNeeded[i] = 0;
            qCWarning(lcTick) << "job" << job.name() << "failed";
        }
    }
    if (!context.missed.isEmpty() && m_missedNotice)
        m_missedNotice(context.missed);
    // Writes that leave the cache as it is need no reload, as long as the file had not
    // changed before them.
    for (const MinuteContext::OwnWrite& write : context.ownWrites()) {
        if (m_lastStamp >= 0 && write.before == m_lastStamp)
            m_lastStamp = write.after;
    }
}

bool Tick::reloadCache() {
    ++m_reloads;
    wakeJobs();
    return loadTickCache(m_paths.dataFile(), m_paths, m_cache, m_dueReaders);
}

bool Tick::keeps(const QString& table) const {
    return m_kept.contains(table);
}

void Tick::tableChanged(const QString& table) {
    wakeJobs();
    // The stamp stays as the tick last saw it, so a change by another process in the
    // meantime is still found and announced by the next tick.
    if (keeps(table) && !reloadCache()) {
        qCWarning(lcTick) << "reload after a change of" << table << "incomplete; retried next tick";
        m_lastStamp = -1;
    }
}

int Tick::msUntilNextTick() const {
    return MinuteGate::msUntilNextTick(m_clock.now());
}

PLUMORA_IDLE_PATH void Tick::reloadWhenChanged(qint64 stamp) {
    if (stamp == m_lastStamp)
        return;
    // A stamp this process did not leave is another process's write: open windows re-read.
    // The hub knows the file's stamp from its start, so a write made before the first tick
    // (or while the cache was being retried) is announced too. The hub then counts the
    // stamp as seen, so a write of ours that follows does not report it again.
    if (m_changes) {
        const qint64 own = m_changes->ownStamp();
        if (own >= 0 && stamp != own)
            m_changes->announceAll();
        m_changes->setOwnStamp(stamp);
    }
    m_lastStamp = stamp;
    // A reload that failed (the file busy or half written) is tried again on the next
    // tick instead of leaving the cache short until the file happens to change again.
    if (!reloadCache()) {
        qCWarning(lcTick) << "reload of" << m_paths.dataFile() << "incomplete; retried next tick";
        m_lastStamp = -1;
    }
}
