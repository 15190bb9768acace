// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ChangeHub.h"
#include "data/DataStores.h"
#include "data/FileSchema.h"
#include "data/Settings.h"
#include "data/StoreShelf.h"
#include "data/ToolData.h"

// Owns the schema, the hub, the settings and the tools' shared stores of one data file;
// stores() is what AppContext hands out. Made before the pages and jobs that use it and
// destroyed after them.
class StoreSet {
public:
    // The program's tools' schema and stores.
    explicit StoreSet(const QString& dataFile);
    // The settings' tables and stores, and those of `tools`.
    StoreSet(const QString& dataFile, const QList<ToolData>& tools);
    StoreSet(const StoreSet&) = delete;
    StoreSet& operator=(const StoreSet&) = delete;

    DataStores& stores() { return m_stores; }

private:
    FileSchema m_schema;
    ChangeHub m_changes;
    SettingsStore m_settings;
    StoreShelf m_shelf;
    DataStores m_stores{m_schema, m_changes, m_settings, m_shelf};
};
