// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StoreSet.h"

#include "app/ProgramSchema.h"

StoreSet::StoreSet(const QString& dataFile) : StoreSet(dataFile, programData()) {}

StoreSet::StoreSet(const QString& dataFile, const QList<ToolData>& tools)
    : m_schema(schemaOf(tools)), m_changes(dataFile, m_schema.tableNames()),
      m_settings(dataFile, &m_changes), m_shelf(dataFile, m_changes) {
    for (const ToolData& tool : tools)
        if (tool.addStores)
            tool.addStores(m_shelf);
}
