// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/StoreShelf.h"

class ChangeHub;
class FileSchema;
class SettingsStore;

// The data file's schema, its hub, the settings and the tools' shared stores, built once where
// the program is put together (app/StoreSet.h) and reached through AppContext. Every store
// announces its committed writes to `changes`. A page or job keeps the reference; work that needs a
// store of its own (another thread, a store's "now") copies it.
struct DataStores {
    // Grows by the parts of tools added after the program's own (Application::addTool).
    FileSchema& schema;
    ChangeHub& changes;
    SettingsStore& settings;
    StoreShelf& shelf;

    // A tool's shared store: stores.get<EventStore>().
    template <class S> S& get() const { return shelf.get<S>(); }
};
