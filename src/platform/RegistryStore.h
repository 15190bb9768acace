// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Registry.h"

#include <QString>

// The registry strings kept in an INI file ($XDG_CONFIG_HOME/plumora/registry.ini) under
// "root/key/name".
class RegistryStore final : public Registry {
public:
    explicit RegistryStore(QString iniPath);
    static QString defaultPath();

    QString readString(const QString& root, const QString& key, const QString& name) const override;
    void writeString(const QString& root, const QString& key, const QString& name,
                     const QString& text) override;

private:
    QString m_path;
};
