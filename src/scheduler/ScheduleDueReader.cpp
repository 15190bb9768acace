// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduleDueReader.h"

#include "data/DataFile.h"
#include "scheduler/ScheduleType.h"
#include "scheduler/ScheduledCommand.h"

namespace {

// Fills `entry` with what a Schedule row does; false for a row that can never fire.
bool describeAction(int schType, const QString& launch, const AppPaths& paths, DueEntry& entry) {
    switch (schType) {
    case ScheduleType::LaunchProgram: {
        // Split as a desktop entry's command line, never by a shell; an existing file's path
        // is one program, blanks and all.
        entry.action = DueAction::Program;
        ScheduledCommand::Command command = ScheduledCommand::split(launch);
        entry.program = command.program;
        entry.arguments = std::move(command.arguments);
        return true;
    }
    case ScheduleType::ShutDownSystem:
        entry.action = DueAction::ShutDown;
        entry.program = paths.helperProgram(QStringLiteral("ShutDown"));
        entry.arguments = {launch == QLatin1String("H") ? QStringLiteral("0")
                                                        : QStringLiteral("1")};
        return true;
    default:
        // A row being deleted or of an unknown type: firing it as a note alarm, as an
        // empty command would, is never what was meant.
        return false;
    }
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
