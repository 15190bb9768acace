// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

struct AppContext;
class QPainter;

// Screen Capture as the shell shows it; its page draws the etched rule.
ToolDescriptor captureDescriptor();
// The same with its tool object (CaptureTool), which makes and keeps its page.
ToolDescriptor captureTool(AppContext& context);
// Its picture on the 32-unit grid of Artwork.
void paintCaptureIcon(QPainter& p);
