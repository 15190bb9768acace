// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class QPainter;

// Quick Access as the shell shows it; its page draws the etched rule.
// Without a page: the program gives it QuickAccessPage::pages.
// Its minute job tracks the folders of the documents opened lately.
ToolDescriptor quickAccessDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintQuickAccessIcon(QPainter& p);
