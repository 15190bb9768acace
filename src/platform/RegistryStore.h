#pragma once

#include <QString>

// The few platform settings the design keeps in a registry, kept in an INI file
// ($XDG_CONFIG_HOME/plumora/registry.ini) under "root/key/name".
class RegistryStore {
public:
    explicit RegistryStore(QString iniPath);
    static QString defaultPath();

    // "" when the value is missing, unreadable, or 256 characters or longer.
    QString read(const QString& root, const QString& key, const QString& name) const;
    void write(const QString& root, const QString& key, const QString& name, const QString& text);

private:
    QString m_path;
};
