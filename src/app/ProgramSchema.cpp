// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"

#include "app/ToolList.h"
#include "data/Settings.h"

#define PLUMORA_DECLARE_DATA(name) ToolData name##Data();
PLUMORA_TOOLS(PLUMORA_DECLARE_DATA)
#undef PLUMORA_DECLARE_DATA

QList<ToolData> programData() {
#define PLUMORA_TOOL_DATA(name) name##Data(),
    return {PLUMORA_TOOLS(PLUMORA_TOOL_DATA)};
#undef PLUMORA_TOOL_DATA
}

FileSchema schemaOf(const QList<ToolData>& tools) {
    QList<SchemaPart> parts{SettingsStore::tables()};
    for (const ToolData& tool : tools)
        parts += tool.schema;
    return FileSchema(std::move(parts));
}

FileSchema programSchema() {
    return schemaOf(programData());
}
