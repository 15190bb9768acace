// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The command line a "Launch Program" entry keeps in Launch, read without a shell: the
// program and its arguments.
namespace ScheduledCommand {

struct Command {
    QString program;
    QStringList arguments;
};

// A value that is itself an existing file is that program alone, blanks and all (entries
// saved before arguments were taken, and a program chosen in the file dialog). Anything else
// is split as a desktop entry's Exec line: blanks separate arguments, double quotes keep
// blanks in one, and inside them a backslash takes the next character as it is; %% stands for
// a percent sign.
Command split(const QString& launch);

// `path` as the first word of a command line: as it is when nothing in it needs quoting, else
// in double quotes with ", `, $ and \ escaped.
QString quoted(const QString& path);

// Why the command cannot be started when due, for the editor to say; empty when it can.
// The program must be an executable file given by its full path.
QString problem(const QString& launch);

} // namespace ScheduledCommand
