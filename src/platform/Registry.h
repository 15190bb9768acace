// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where Plumora keeps its own values.
namespace RegistryKeys {
inline const QString CurrentUser = QStringLiteral("HKEY_CURRENT_USER");
inline const QString Plumora = QStringLiteral("Software\\Plumora");
} // namespace RegistryKeys

// The few platform settings older versions kept in the registry (mail account, wallpaper
// style, notices shown once), as strings under "root/key/name".
class Registry {
public:
    virtual ~Registry() = default;
    // "" when the value is missing, unreadable, or 256 characters or longer.
    virtual QString readString(const QString& root, const QString& key,
                               const QString& name) const = 0;
    virtual void writeString(const QString& root, const QString& key, const QString& name,
                             const QString& text) = 0;
};
