// SPDX-License-Identifier: GPL-3.0-or-later
#include "shutdown/PowerControl.h"
#include "shutdown/ShutDownCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    LogindPowerControl power;
    QTextStream err(stderr);
    return runShutDown(QCoreApplication::arguments().mid(1), power, err);
}
