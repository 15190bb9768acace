// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTextStream>

class PowerControl;

// The ShutDown helper: one argument, "1" powers off and "0" hibernates. Returns the exit
// code: 0 when the request was accepted, 1 when it was refused or could not be made, 2
// for a wrong argument. Every failure is explained on `err`.
int runShutDown(const QStringList& arguments, PowerControl& power, QTextStream& err);
