// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteDeck.h"
#include "notes/NoteStore.h"

#include <QList>
#include <QRect>

#include <functional>
#include <optional>

// What a save of the Quick Notes page writes, from the deck's save list and the cards'
// places: each note whose text, depth or place changed, with its depth, its text when that
// changed and its place when it moved.
namespace NoteSave {

// The place of card `index` when it differs from the stored one; nothing when it did not move.
using MovedTo = std::function<std::optional<QRect>(int index)>;
// The text of card `index` as it is to be stored.
using TextOf = std::function<QString(int index)>;

struct Pending {
    QList<NoteDeck::SaveItem> items; // for NoteDeck::saved() once written
    QList<NoteStore::Write> writes;
};
Pending pending(const QList<NoteDeck::SaveItem>& list, const MovedTo& movedTo,
                const TextOf& textOf);

// Whether anything of `list` is unsaved: typing, a depth or a place.
bool unsaved(const QList<NoteDeck::SaveItem>& list, const MovedTo& movedTo);

} // namespace NoteSave
