// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ChangeHub.h"
#include "shell/DueEntries.h"
#include "shell/MinuteGate.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// What a minute job sees of one tick.
class MinuteContext {
public:
    MinuteContext(QDateTime at, QList<WallMinute> handled, const TickCache& cached,
                  std::function<bool()> onlineTest)
        : now(std::move(at)), minutes(std::move(handled)), cache(cached),
          m_onlineTest(std::move(onlineTest)) {}

    const QDateTime now;
    // The wall minutes this tick handles, oldest first; never empty.
    const QList<WallMinute> minutes;
    // The settings and due entries as last read from the data file.
    const TickCache& cache;
    // What the due entries' actions do, by id; null where no tool gave any.
    const DueActions* dueActions = nullptr;
    const DueAction* dueAction(const QString& id) const {
        if (!dueActions)
            return nullptr;
        const auto found = dueActions->constFind(id);
        return found == dueActions->cend() ? nullptr : &*found;
    }
    // Wall minutes passed over since the last tick (a sleep, the clock set forward): what
    // fell due in them is never run late; the jobs report it in `missed`, one line each.
    std::optional<MinuteGap> gap;
    QStringList missed;

    // Whether the machine is online, asked once per tick and only by a job that is due:
    // the test can cost more than a whole idle tick.
    bool online() {
        if (!m_online.has_value())
            m_online = m_onlineTest ? m_onlineTest() : false;
        return *m_online;
    }
    // Whether one of the handled minutes is the start of an hour.
    bool includesHourStart() const;

    // A job that wrote the data file, but nothing the cache holds (settings, Schedule,
    // QNotes), gives the file's modified stamps from just before and just after its write:
    // when nothing else had changed the file, the next tick need not read it again.
    struct OwnWrite {
        qint64 before;
        qint64 after;
    };
    void wroteOwnData(qint64 stampBefore, qint64 stampAfter) {
        m_ownWrites.push_back({stampBefore, stampAfter});
    }
    const std::vector<OwnWrite>& ownWrites() const { return m_ownWrites; }

    // The file at `encodedPath` (QFile::encodeName) as the file system shows it. The tick's
    // data file is looked at once per tick and again only after a write through the hub:
    // each look is a system call, and on a once-a-minute wake every one costs. Any other
    // file, or the data file where no hub counts the writes, is looked at every time.
    FileState fileState(const QByteArray& encodedPath);
    // What the tick found of its data file at its start (its path encoded as above), and
    // the hub's count of writes from just before it looked.
    void shareDataFile(const QByteArray& encodedPath, const FileState& state,
                       const ChangeHub* changes, quint64 commitsBefore);

private:
    std::function<bool()> m_onlineTest;
    std::optional<bool> m_online;
    std::vector<OwnWrite> m_ownWrites;
    QByteArray m_dataPath;
    FileState m_data;
    const ChangeHub* m_changes = nullptr;
    quint64 m_commitsSeen = 0;
};

// Work the tick runs once a minute, in the order the jobs were added. A job decides itself
// whether it is due; a job that throws is logged and never stops the others.
class MinuteJob {
public:
    virtual ~MinuteJob() = default;
    // A short name for the log.
    virtual const char* name() const = 0;
    virtual void run(MinuteContext& minute) = 0;
    // Asked right after run(): the first moment the job can have work again, judged from
    // what `minute` shows and what the job keeps itself. The tick passes the job by until
    // then, and wakes it at once whenever what it judged from may have changed: the cache
    // read again, a table announced as changed, minutes passed over, the clock set back or
    // its offset changed. An invalid time (the default) asks for every minute;
    // untilChanged(), for none until such a wake.
    virtual QDateTime nextNeeded(const MinuteContext& minute) const {
        Q_UNUSED(minute);
        return {};
    }
    static QDateTime untilChanged();
};

// Work done once at start-up, after the data file was checked, in the order added.
class StartupJob {
public:
    virtual ~StartupJob() = default;
    virtual const char* name() const = 0;
    virtual void run() = 0;
};

// Whether at least `interval` minutes have passed since `last`. An invalid `last` (never
// run) counts as due, and so does a `last` in the future: the clock was set back, and
// waiting for it to catch up would silence the job for that long.
bool intervalPassed(const QDateTime& last, const QDateTime& now, int interval);
// The first moment intervalPassed(last, ·, interval) holds, or an invalid time when it
// holds at `now` already.
QDateTime intervalEnds(const QDateTime& last, const QDateTime& now, int interval);
