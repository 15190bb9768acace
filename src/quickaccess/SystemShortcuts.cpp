// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/SystemShortcuts.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

SystemShortcuts::SystemShortcuts()
    : SystemShortcuts([](const QString& name) { return QStandardPaths::findExecutable(name); },
                      qEnvironmentVariable("TERMINAL"),
                      qEnvironmentVariable("XDG_CURRENT_DESKTOP")) {}

SystemShortcuts::SystemShortcuts(FindExecutable find, QString terminalVariable,
                                 QString currentDesktop)
    : m_find(std::move(find)), m_terminalVariable(std::move(terminalVariable)),
      m_currentDesktop(std::move(currentDesktop)) {}

QString SystemShortcuts::firstInstalled(const QStringList& names) const {
    for (const QString& name : names) {
        const QString path = name.isEmpty() ? QString() : m_find(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

LaunchCommand SystemShortcuts::terminal(const QString& folder) const {
    // $TERMINAL may carry arguments of its own ("kitty --single-instance").
    const QStringList fromVariable = QProcess::splitCommand(m_terminalVariable);
    const QString variableProgram = fromVariable.value(0);
    const QString program = firstInstalled(
        {QStringLiteral("x-terminal-emulator"), variableProgram, QStringLiteral("gnome-terminal"),
         QStringLiteral("konsole"), QStringLiteral("xfce4-terminal"), QStringLiteral("xterm")});
    if (program.isEmpty())
        return {};
    LaunchCommand command{program, {}, folder};
    if (!variableProgram.isEmpty() && program == m_find(variableProgram))
        command.arguments = fromVariable.mid(1);
    // Every terminal starts in its working folder; the ones that keep a server process
    // are told the folder as well.
    const QString name = QFileInfo(program).fileName();
    if (name == QLatin1String("gnome-terminal") || name == QLatin1String("xfce4-terminal"))
        command.arguments.append(QStringLiteral("--working-directory=") + folder);
    else if (name == QLatin1String("konsole"))
        command.arguments << QStringLiteral("--workdir") << folder;
    return command;
}

LaunchCommand SystemShortcuts::settingsConsole() const {
    const QString gnome = QStringLiteral("gnome-control-center");
    const QString kde = QStringLiteral("systemsettings");
    const QString xfce = QStringLiteral("xfce4-settings-manager");
    const QString mate = QStringLiteral("mate-control-center");
    // The running desktop's own console first.
    QString own;
    for (const QString& part : m_currentDesktop.split(u':', Qt::SkipEmptyParts)) {
        const QString desktop = part.trimmed().toLower();
        if (desktop == QLatin1String("gnome") || desktop == QLatin1String("unity"))
            own = gnome;
        else if (desktop == QLatin1String("kde"))
            own = kde;
        else if (desktop == QLatin1String("xfce"))
            own = xfce;
        else if (desktop == QLatin1String("mate"))
            own = mate;
        if (!own.isEmpty())
            break;
    }
    return {firstInstalled({own, gnome, kde, xfce, mate}), {}, {}};
}

LaunchCommand SystemShortcuts::systemInformation() const {
    return {firstInstalled({QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor"),
                            QStringLiteral("plasma-systemmonitor")}),
            {},
            {}};
}
