// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/FileSchema.h"
#include "data/ToolData.h"

#include <QList>

// The data parts of the program's tools, in the order of the tool list (app/ToolList.h).
// Only the tools' logic is needed to read them, so tests below the windows make their data
// files with them too.
QList<ToolData> programData();

// A data file's schema: the settings' tables, then those of `tools` in their order.
FileSchema schemaOf(const QList<ToolData>& tools);
// The program's: schemaOf(programData()).
FileSchema programSchema();
