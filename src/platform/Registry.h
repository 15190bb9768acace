#pragma once

#include <QString>

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
