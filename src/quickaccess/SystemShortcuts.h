// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quickaccess/LaunchCommand.h"

#include <QString>

#include <functional>

// The system tools behind Quick Access's shortcut buttons: the first installed terminal,
// settings console and system-information tool. A command is invalid (its button
// disabled) when none of its tools is installed.
class SystemShortcuts {
public:
    // The absolute path of an installed program, "" when it is not on PATH.
    using FindExecutable = std::function<QString(const QString& name)>;

    // Defaults: a PATH search, $TERMINAL and $XDG_CURRENT_DESKTOP.
    SystemShortcuts();
    SystemShortcuts(FindExecutable find, QString terminalVariable, QString currentDesktop);

    // A terminal opened in `folder`.
    LaunchCommand terminal(const QString& folder) const;
    LaunchCommand settingsConsole() const;
    LaunchCommand systemInformation() const;

private:
    QString firstInstalled(const QStringList& names) const;

    FindExecutable m_find;
    QString m_terminalVariable;
    QString m_currentDesktop;
};
