// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QVariantMap>

// One item of a menu exported over com.canonical.dbusmenu: its id (0 is the root), its
// properties ("label", "type", "enabled", ...) and the items under it.
struct DBusMenuNode {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuNode> children;

    // The item with `id` in this tree; null when there is none.
    const DBusMenuNode* find(int wanted) const {
        if (id == wanted)
            return this;
        for (const DBusMenuNode& child : children)
            if (const DBusMenuNode* found = child.find(wanted))
                return found;
        return nullptr;
    }
};
