// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduleDueReader.h"

#include "base/Log.h"
#include "data/DataFile.h"
#include "platform/DesktopShell.h"
#include "scheduler/ScheduleType.h"
#include "scheduler/ScheduledCommand.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// Fills `entry` with what a Schedule row does; false for a row that can never fire.
bool describeAction(int schType, const QString& launch, const AppPaths& paths, DueEntry& entry) {
    switch (schType) {
    case ScheduleType::LaunchProgram: {
        // Split as a desktop entry's command line, never by a shell; an existing file's path
        // is one program, blanks and all.
        entry.action = QLatin1String(ScheduledProgramAction);
        ScheduledCommand::Command command = ScheduledCommand::split(launch);
        entry.program = command.program;
        entry.arguments = std::move(command.arguments);
        entry.name = QCoreApplication::translate("ScheduleDueReader", "start %1")
                         .arg(QFileInfo(entry.program).fileName());
        return true;
    }
    case ScheduleType::ShutDownSystem:
        entry.action = QLatin1String(ScheduledShutDownAction);
        entry.program = paths.helperProgram(QStringLiteral("ShutDown"));
        entry.arguments = {launch == QLatin1String("H") ? QStringLiteral("0")
                                                        : QStringLiteral("1")};
        entry.name = launch == QLatin1String("H")
                         ? QCoreApplication::translate("ScheduleDueReader", "hibernate")
                         : QCoreApplication::translate("ScheduleDueReader", "shut down");
        return true;
    default:
        // A row being deleted or of an unknown type: firing it as a note alarm, as an
        // empty command would, is never what was meant.
        return false;
    }
}

// Only an existing executable file given by its full path, on a local fixed disk: a network
// share or a stick may hold something else by the time the entry fires.
bool start(DesktopShell& shell, const FixedDiskTest& isFixedDisk, const DueEntry& entry) {
    const QFileInfo file(entry.program);
    if (!file.isAbsolute() || !file.isFile() || !file.isExecutable())
        return false;
    const QString path = file.absoluteFilePath();
    if (!isFixedDisk || !isFixedDisk(path))
        return false;
    return shell.startProgram(path, entry.arguments, file.absolutePath());
}

} // namespace

bool readScheduledEntries(DataFile& db, const AppPaths& paths, QList<DueEntry>& entries) {
    return db.forEach(
        QStringLiteral("SELECT SchType, Launch, SchDT, Frequency FROM Schedule "
                       "WHERE Frequency > 0"),
        {}, [&](DataFile::Row q) {
            DueEntry entry;
            entry.frequency = q.value(3).toInt();
            if (readDue(q.value(2), entry.date, entry.time) &&
                describeAction(q.value(0).toInt(), q.value(1).toString(), paths, entry))
                entries.append(std::move(entry));
            return true;
        });
}

DueActions scheduleDueActions(DesktopShell& shell, FixedDiskTest isFixedDisk,
                              std::function<void()> beforeShutDown) {
    const auto launch = [&shell, isFixedDisk](const DueEntry& entry) {
        if (!start(shell, isFixedDisk, entry))
            qCWarning(lcTick) << "scheduled program not started:" << entry.program;
    };
    DueActions actions;
    actions.insert(QLatin1String(ScheduledProgramAction), {.fire = launch});
    actions.insert(QLatin1String(ScheduledShutDownAction),
                   {.fire = [launch, beforeShutDown](const DueEntry& entry) {
                       if (beforeShutDown)
                           beforeShutDown();
                       launch(entry);
                   }});
    return actions;
}
