// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

#include <QString>

class Registry;

// Whether Plumora starts when the user logs in: the freedesktop autostart entry
// $XDG_CONFIG_HOME/autostart/<application id>.desktop.
class Autostart {
public:
    Autostart(QString configHome, QString appId, QString program);
    // The user's entry for this program.
    static Autostart forUser(const QString& appId, const QString& program);

    QString entryPath() const { return m_entry; }
    // The entry exists and is not switched off inside (Hidden, X-GNOME-Autostart-enabled).
    bool isEnabled() const;
    // Writes or removes the entry; false when the file could not be written or removed.
    bool setEnabled(bool on);

private:
    QString m_entry;
    QString m_appId;
    QString m_program;
};

// The first start of an installed copy writes the autostart entry, once: a user who then
// switches it off in Options keeps it off.
class AutostartOnFirstRun final : public StartupJob {
public:
    AutostartOnFirstRun(Autostart autostart, Registry& registry, bool installedCopy);
    const char* name() const override { return "autostart"; }
    void run() override;

private:
    Autostart m_autostart;
    Registry& m_registry;
    bool m_installed;
};
