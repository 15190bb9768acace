// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

#include <functional>

class DesktopShell;

// Whether a file lies on a local, non-removable disk.
using FixedDiskTest = std::function<bool(const QString& path)>;

// Fires the scheduled actions and note alarms whose minute has come: a program is started
// (only an executable file given by its full path on a local fixed disk), a shut-down entry
// starts the ShutDown helper, and a note alarm asks for Quick Notes.
class DueEntriesJob final : public MinuteJob {
public:
    DueEntriesJob(DesktopShell& shell, FixedDiskTest isFixedDisk, std::function<void()> noteAlarm);
    const char* name() const override { return "due entries"; }
    void run(MinuteContext& minute) override;
    // Called just before a shut-down entry starts the ShutDown helper, so that open work
    // can be saved first.
    void setBeforeShutDown(std::function<void()> hook) { m_beforeShutDown = std::move(hook); }

private:
    bool start(const DueEntry& entry);

    DesktopShell& m_shell;
    FixedDiskTest m_isFixedDisk;
    std::function<void()> m_noteAlarm;
    std::function<void()> m_beforeShutDown;
};
