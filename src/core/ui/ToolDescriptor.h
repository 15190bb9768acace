// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ToolTables.h"
#include "core/ui/Artwork.h"

#include <QString>

#include <functional>

class ToolPage;
class TrayController;
class QWidget;

// Everything the shell needs to know of a tool, given by the tool's own folder: the
// application registers it, and the toolbar, the Tools menu, the tray menu, the
// dispatcher, the data file and the tick take it from there.
struct ToolDescriptor {
    // Stable id: the page's objectName, so also its help topic (lower case + ".htm"), and
    // the key of its tables' version.
    QString id;
    // The toolbar tip, which is also the page's title in the status bar.
    QString tip;
    // The tray menu caption; the Tools menu shows it with its accelerator.
    QString caption;
    // The Tools menu caption with its accelerator ("&Tally"); `caption` when empty.
    QString accelerator;
    Artwork::Painter paintIcon;
    // The page draws the etched rule at its top.
    bool etchedRule = false;
    // Makes the page the first time the tool is chosen.
    std::function<ToolPage*(QWidget* parent)> page;
    // Adds the tool's start-up and minute jobs.
    std::function<void(TrayController& controller)> addJobs;
    // Its tables, their steps and its due-entry reader (no tables: empty).
    ToolTables tables;
};
