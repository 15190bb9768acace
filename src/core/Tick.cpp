#include "core/Tick.h"

#include "core/Clock.h"
#include "core/ControllerState.h"
#include "core/DataFile.h"
#include "core/FiringRules.h"
#include "platform/Platform.h"

#include <QFileInfo>

#include <algorithm>

namespace {
constexpr int HolidayDownloadDays = 60;
constexpr int NoteAlarmMenu = 1;
constexpr int ReminderMenu = 7;

// Background work never stops on a failing step and never shows anything.
template <typename F> void guarded(F&& step) {
    try {
        step();
    } catch (...) {
    }
}

// Whether at least `interval` minutes have passed since `last`. A `last` in the future
// means the clock was set back; waiting for the clock to catch up would silence the
// step for that long, so it counts as due.
bool intervalPassed(const QDateTime& last, const QDateTime& now, int interval) {
    if (!last.isValid())
        return true;
    const qint64 minutes = FiringRules::minutesBetween(last, now);
    return minutes < 0 || minutes >= interval;
}
} // namespace

Tick::Tick(Clock& clock, Platform& platform, AppPaths paths, ControllerState& state,
           TickHooks& hooks, FixedDiskTest isFixedDisk)
    : m_clock(clock), m_platform(platform), m_paths(std::move(paths)), m_state(state),
      m_hooks(hooks), m_isFixedDisk(std::move(isFixedDisk)) {}

void Tick::run() {
    guarded([&] { reloadWhenChanged(); });

    const QList<WallMinute> minutes = m_gate.advance(m_clock.now());
    // A second tick inside a minute already handled does nothing more.
    if (minutes.isEmpty())
        return;

    guarded([&] { startDownloads(minutes); });
    guarded([&] { runReminder(); });
    if (m_cache.HasDueEntries) {
        for (const WallMinute& minute : minutes)
            guarded([&] { fireDueEntries(minute); });
    }
    guarded([&] { m_hooks.CheckQuickAccess(); });
}

bool Tick::UpdateConfigVar() {
    return loadTickCache(m_paths.dataFile(), m_paths, m_cache);
}

int Tick::msUntilNextTick() const {
    return MinuteGate::msUntilNextTick(m_clock.now());
}

void Tick::reloadWhenChanged() {
    const qint64 stamp = fileModifiedStamp(m_paths.dataFile());
    if (stamp == m_state.LastDataFileTime)
        return;
    m_state.LastDataFileTime = stamp;
    // A reload that failed (the file busy or half written) is tried again on the next
    // tick instead of leaving the cache short until the file happens to change again.
    if (!UpdateConfigVar())
        m_state.LastDataFileTime = -1;
}

void Tick::startDownloads(const QList<WallMinute>& minutes) {
    if (!m_platform.IsOnline())
        return;
    const TickSettings& s = m_cache.settings;
    const QDateTime now = m_clock.now();

    guarded([&] {
        const bool hourStart = std::any_of(minutes.begin(), minutes.end(), [](const WallMinute& m) {
            return m.time.minute() == 0;
        });
        if (hourStart && s.Lastupdate.isValid() &&
            s.Lastupdate.daysTo(now.date()) > HolidayDownloadDays)
            m_hooks.loadHolidayDownload();
    });
    guarded([&] {
        if (s.MailUser.isEmpty() || !s.CheckMail || s.MailPOP3.isEmpty())
            return;
        if (intervalPassed(m_state.LastMailCheckTime, now, s.CheckMailMin)) {
            m_state.LastMailCheckTime = now;
            m_hooks.loadMailCheck();
        }
    });
}

void Tick::runReminder() {
    const QDateTime now = m_clock.now();
    if (intervalPassed(m_state.LastReminderTime, now, m_cache.settings.ShowEvery)) {
        m_state.LastReminderTime = now;
        m_hooks.ClickMenu(ReminderMenu);
    }
}

void Tick::fireDueEntries(const WallMinute& minute) {
    for (const DueEntry& entry : std::as_const(m_cache.entries)) {
        if (!FiringRules::fires(entry.date, entry.time, entry.frequency, minute.date, minute.time))
            continue;
        guarded([&] {
            if (entry.action == DueAction::NoteAlarm)
                m_hooks.ClickMenu(NoteAlarmMenu);
            else
                startEntry(entry);
        });
    }
}

bool Tick::startEntry(const DueEntry& entry) {
    // Only an existing executable file given by its full path, on a local fixed disk:
    // a network share or a stick may hold something else by the time the entry fires.
    const QFileInfo file(entry.program);
    if (!file.isAbsolute() || !file.isFile() || !file.isExecutable())
        return false;
    const QString path = file.absoluteFilePath();
    if (!m_isFixedDisk || !m_isFixedDisk(path))
        return false;
    return m_platform.StartProgram(path, entry.arguments, file.absolutePath());
}
