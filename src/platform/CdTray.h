// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Opening and closing the tray of a CD drive ("/dev/sr0"). Both give false when the
// device cannot be opened or the drive refuses.
namespace CdTray {

bool eject(const QString& device);
bool close(const QString& device);

} // namespace CdTray
