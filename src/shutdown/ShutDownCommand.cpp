// SPDX-License-Identifier: GPL-3.0-or-later
#include "shutdown/ShutDownCommand.h"

#include "shutdown/PowerControl.h"

#include <QCoreApplication>

int runShutDown(const QStringList& arguments, PowerControl& power, QTextStream& err) {
    const bool powerOff = arguments == QStringList{QStringLiteral("1")};
    const bool hibernate = arguments == QStringList{QStringLiteral("0")};
    if (!powerOff && !hibernate) {
        err << QCoreApplication::translate("ShutDownCommand",
                                           "Usage: ShutDown 1|0\n"
                                           "  1  shut down the computer and power off\n"
                                           "  0  hibernate\n");
        err.flush();
        return 2;
    }

    const PowerControl::Result result = powerOff ? power.powerOff() : power.hibernate();
    const QString what = powerOff ? QCoreApplication::translate("ShutDownCommand", "power off")
                                  : QCoreApplication::translate("ShutDownCommand", "hibernate");
    switch (result.outcome) {
    case PowerControl::Result::Done:
        return 0;
    case PowerControl::Result::Refused:
        err << QCoreApplication::translate("ShutDownCommand",
                                           "ShutDown: the request to %1 was refused: %2")
                   .arg(what, result.detail)
            << '\n';
        break;
    case PowerControl::Result::Unreachable:
        err << QCoreApplication::translate("ShutDownCommand",
                                           "ShutDown: could not ask systemd-logind to %1: %2")
                   .arg(what, result.detail)
            << '\n';
        break;
    }
    err.flush();
    return 1;
}
