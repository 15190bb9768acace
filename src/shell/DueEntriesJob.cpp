// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/DueEntriesJob.h"

#include "base/Log.h"
#include "shell/FiringRules.h"
#include "platform/DesktopShell.h"

#include <QFileInfo>

DueEntriesJob::DueEntriesJob(DesktopShell& shell, FixedDiskTest isFixedDisk,
                             std::function<void()> noteAlarm)
    : m_shell(shell), m_isFixedDisk(std::move(isFixedDisk)), m_noteAlarm(std::move(noteAlarm)) {}

void DueEntriesJob::run(MinuteContext& minute) {
    if (!minute.cache.hasDueEntries)
        return;
    for (const WallMinute& m : minute.minutes) {
        for (const DueEntry& entry : minute.cache.entries) {
            if (!FiringRules::fires(entry.date, entry.time, entry.frequency, m.date, m.time))
                continue;
            if (entry.action == DueAction::NoteAlarm) {
                if (m_noteAlarm)
                    m_noteAlarm();
            } else {
                if (entry.action == DueAction::ShutDown && m_beforeShutDown)
                    m_beforeShutDown();
                if (!start(entry))
                    qCWarning(lcTick) << "scheduled program not started:" << entry.program;
            }
        }
    }
}

bool DueEntriesJob::start(const DueEntry& entry) {
    // Only an existing executable file given by its full path, on a local fixed disk:
    // a network share or a stick may hold something else by the time the entry fires.
    const QFileInfo file(entry.program);
    if (!file.isAbsolute() || !file.isFile() || !file.isExecutable())
        return false;
    const QString path = file.absoluteFilePath();
    if (!m_isFixedDisk || !m_isFixedDisk(path))
        return false;
    return m_shell.startProgram(path, entry.arguments, file.absolutePath());
}
