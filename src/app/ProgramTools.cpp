// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramTools.h"

#include "app/ToolList.h"

#define PLUMORA_DECLARE_TOOL(name)                                                                 \
    ToolDescriptor name##Descriptor();                                                             \
    ToolDescriptor name##Tool(AppContext& context);
PLUMORA_TOOLS(PLUMORA_DECLARE_TOOL)
#undef PLUMORA_DECLARE_TOOL

QList<ToolDescriptor> programTools(AppContext& context) {
#define PLUMORA_MAKE_TOOL(name) name##Tool(context),
    return {PLUMORA_TOOLS(PLUMORA_MAKE_TOOL)};
#undef PLUMORA_MAKE_TOOL
}

QList<ToolDescriptor> programTools() {
#define PLUMORA_DESCRIBE_TOOL(name) name##Descriptor(),
    return {PLUMORA_TOOLS(PLUMORA_DESCRIBE_TOOL)};
#undef PLUMORA_DESCRIBE_TOOL
}
