// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// Plumora's own program and tray icon, drawn by code so it is crisp at every size.
QIcon plumoraIcon();
