// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// The program's icon, drawn by our own code at any size: a plum-coloured calendar page with a
// leaf. The same drawing as dist/plumora.svg.
QImage drawAppIcon(int size);
