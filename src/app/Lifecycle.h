// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SleepInhibitor.h"

#include <memory>

class Application;
class SessionEnd;
class SleepGuard;

// How the running program meets the session's end and the machine's sleep: a kill, a
// logout or Ctrl+C unloads as "Unload Plumora" does; before a sleep the unsaved work is
// saved; after the wake the tick runs at once.
class Lifecycle {
public:
    // `inhibitor` null: logind on the system bus.
    explicit Lifecycle(Application& app, std::unique_ptr<SleepInhibitor> inhibitor = {});
    ~Lifecycle();

    // What the unload keeps, without closing anything: the notes' text, and what the
    // page on show holds unsaved.
    static void keepUnsavedWork(Application& app);
    // The tick now, and the timer aligned again to the wall clock's minutes.
    static void tickNow(Application& app);

private:
    void guardSleep(Application& app, std::unique_ptr<SleepInhibitor> inhibitor);

    std::unique_ptr<SessionEnd> m_end;
    std::unique_ptr<SleepInhibitor> m_inhibitor;
    std::unique_ptr<SleepGuard> m_sleep;
};
