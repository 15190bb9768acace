// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class QPainter;

// Screen Capture as the shell shows it; its page draws the etched rule.
// Without a page: the program gives it the one the tool object makes and keeps (makePage).
ToolDescriptor captureDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintCaptureIcon(QPainter& p);
