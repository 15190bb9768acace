// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/FileSchema.h"
#include "data/StoreShelf.h"

#include <functional>

// A tool's part of the data file, known without its windows: the tables it owns and the
// stores it shares. The program builds its schema and its stores from its tools' parts
// before any tool is made, so every tool's factory finds them in place.
struct ToolData {
    QList<SchemaPart> schema;
    std::function<void(StoreShelf& shelf)> addStores;

    // Adds the stores S... to the shelf.
    template <class... S> static std::function<void(StoreShelf&)> stores() {
        return [](StoreShelf& shelf) { (shelf.add<S>(), ...); };
    }
};
