// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteSave.h"

#include <algorithm>

namespace NoteSave {

Pending pending(const QList<NoteDeck::SaveItem>& list, const MovedTo& movedTo,
                const TextOf& textOf) {
    Pending p;
    for (const NoteDeck::SaveItem& item : list) {
        const std::optional<QRect> moved = movedTo(item.index);
        if (!item.textChanged && !item.depthChanged && !moved)
            continue;
        NoteStore::Write w{item.id, item.zOrder, std::nullopt, moved};
        if (item.textChanged)
            w.content = textOf(item.index);
        p.writes.append(w);
        p.items.append(item);
    }
    return p;
}

bool unsaved(const QList<NoteDeck::SaveItem>& list, const MovedTo& movedTo) {
    return std::any_of(list.begin(), list.end(), [&](const NoteDeck::SaveItem& item) {
        return item.textChanged || item.depthChanged || movedTo(item.index);
    });
}

} // namespace NoteSave
