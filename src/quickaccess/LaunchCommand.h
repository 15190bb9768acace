// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// A program to start with its arguments and working folder, never through a shell.
struct LaunchCommand {
    QString program;
    QStringList arguments;
    QString workingFolder;
    bool isValid() const { return !program.isEmpty(); }
    bool operator==(const LaunchCommand&) const = default;
};
