// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Autostart.h"

#include "base/Log.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString& RegistryRoot = RegistryKeys::CurrentUser;
const QString& RegistryKey = RegistryKeys::Plumora;
const QString OfferedName = QStringLiteral("AutostartWritten");

// Exec= quoting of desktop entries: the reserved characters escaped, the path quoted.
QString quotedExec(const QString& program) {
    QString quoted = program;
    for (const char* c : {"\\", "\"", "`", "$"})
        quoted.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    return quoted.contains(u' ') || quoted != program ? QLatin1Char('"') + quoted + QLatin1Char('"')
                                                      : quoted;
}
} // namespace

Autostart::Autostart(QString configHome, QString appId, QString program)
    : m_entry(configHome + QStringLiteral("/autostart/") + appId + QStringLiteral(".desktop")),
      m_appId(std::move(appId)), m_program(std::move(program)) {}

Autostart Autostart::forUser(const QString& appId, const QString& program) {
    return Autostart(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), appId,
                     program);
}

bool Autostart::isEnabled() const {
    if (!QFileInfo(m_entry).isFile())
        return false;
    const QSettings entry(m_entry, QSettings::IniFormat);
    const QString group = QStringLiteral("Desktop Entry/");
    return entry.value(group + QStringLiteral("Hidden"), false).toString() !=
               QLatin1String("true") &&
           entry.value(group + QStringLiteral("X-GNOME-Autostart-enabled"), true).toString() !=
               QLatin1String("false");
}

bool Autostart::setEnabled(bool on) {
    if (!on)
        return !QFileInfo::exists(m_entry) || QFile::remove(m_entry);
    if (!QDir().mkpath(QFileInfo(m_entry).path()))
        return false;
    QSaveFile file(m_entry);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = QStringLiteral("[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Plumora\n"
                                           "Comment=Everyday tools from the notification area\n"
                                           "Exec=%1\n"
                                           "Icon=%2\n"
                                           "Terminal=false\n"
                                           "X-GNOME-Autostart-enabled=true\n")
                                .arg(quotedExec(m_program), m_appId)
                                .toUtf8();
    return file.write(text) == text.size() && file.commit();
}

AutostartOnFirstRun::AutostartOnFirstRun(Autostart autostart, Registry& registry,
                                         bool installedCopy)
    : m_autostart(std::move(autostart)), m_registry(registry), m_installed(installedCopy) {}

void AutostartOnFirstRun::run() {
    if (!m_installed || !m_registry.readString(RegistryRoot, RegistryKey, OfferedName).isEmpty())
        return;
    if (!m_autostart.setEnabled(true)) {
        qCWarning(lcStartup) << "cannot write" << m_autostart.entryPath();
        return;
    }
    m_registry.writeString(RegistryRoot, RegistryKey, OfferedName, QStringLiteral("1"));
}
