#pragma once

#include "core/AppPaths.h"
#include "core/DueEntries.h"
#include "core/MinuteGate.h"

#include <functional>

class Clock;
class Platform;
struct ControllerState;

// What the tick asks of the rest of the program. The controller implements these; parts
// that are not there yet do nothing.
class TickHooks {
public:
    virtual ~TickHooks() = default;
    // Loads and unloads the holiday-download window, which downloads while it loads.
    virtual void loadHolidayDownload() = 0;
    // Loads the mail-check window, which runs one POP3 check (not again while it is open).
    virtual void loadMailCheck() = 0;
    // The menu dispatcher: 7 runs the reminder, 1 brings up Quick Notes.
    virtual void ClickMenu(int index) = 0;
    virtual void CheckQuickAccess() = 0;
};

// Whether a file lies on a local, non-removable disk.
using FixedDiskTest = std::function<bool(const QString& path)>;

// The one-minute heartbeat: keeps the cache of settings and due entries current, starts
// the holiday download and the mail check when due, runs the reminder, fires the due
// actions and note alarms, and lets Quick Access record the folders in use. No step can
// stop another, and nothing is ever shown.
class Tick {
public:
    Tick(Clock& clock, Platform& platform, AppPaths paths, ControllerState& state, TickHooks& hooks,
         FixedDiskTest isFixedDisk);

    // One timer event.
    void run();
    // Reloads the cache from the data file; false when part of it could not be read.
    bool UpdateConfigVar();
    // When the timer should wake next: just after the coming minute boundary.
    int msUntilNextTick() const;

    const TickCache& cache() const { return m_cache; }

private:
    void reloadWhenChanged();
    void startDownloads(const QList<WallMinute>& minutes);
    void runReminder();
    void fireDueEntries(const WallMinute& minute);
    bool startEntry(const DueEntry& entry);

    Clock& m_clock;
    Platform& m_platform;
    AppPaths m_paths;
    ControllerState& m_state;
    TickHooks& m_hooks;
    FixedDiskTest m_isFixedDisk;
    TickCache m_cache;
    MinuteGate m_gate;
};
