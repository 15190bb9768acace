// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

struct AppContext;
class QPainter;

// Quick Access as the shell shows it; its page draws the etched rule.
// Its minute job tracks the folders of the documents opened lately.
ToolDescriptor quickAccessDescriptor();
// The same with its page (QuickAccessPage::pages).
ToolDescriptor quickAccessTool(AppContext& context);
// Its picture on the 32-unit grid of Artwork.
void paintQuickAccessIcon(QPainter& p);
