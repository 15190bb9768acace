// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduledCommand.h"

#include "platform/DesktopEntries.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace ScheduledCommand {

Command split(const QString& launch) {
    if (QFileInfo(launch).isFile())
        return {launch, {}};
    QStringList words = DesktopEntries::splitExec(launch);
    if (words.isEmpty())
        return {};
    const QString program = words.takeFirst();
    return {program, words};
}

QString quoted(const QString& path) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`%");
    if (std::none_of(path.begin(), path.end(), [](QChar c) { return reserved.contains(c); }))
        return path;
    QString out = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

QString problem(const QString& launch) {
    const Command command = split(launch);
    if (command.program.isEmpty())
        return QCoreApplication::translate(
            "ScheduledCommand", "Type the program to run, or choose it with the button beside.");
    const QFileInfo file(command.program);
    if (!file.isAbsolute()) {
        const QString found = QStandardPaths::findExecutable(command.program);
        if (found.isEmpty())
            return QCoreApplication::translate(
                       "ScheduledCommand",
                       "%1 was not found. Give the program by its full path, such as "
                       "/usr/bin/program.")
                .arg(command.program);
        return QCoreApplication::translate("ScheduledCommand",
                                           "Give the program by its full path: %1 rather than %2.")
            .arg(found, command.program);
    }
    if (!file.isFile())
        return QCoreApplication::translate("ScheduledCommand",
                                           "%1 is not a file, so it cannot be started.")
            .arg(command.program);
    if (!file.isExecutable())
        return QCoreApplication::translate(
                   "ScheduledCommand",
                   "%1 cannot be started: it is not marked as a program (executable).")
            .arg(command.program);
    return {};
}

} // namespace ScheduledCommand
