// SPDX-License-Identifier: GPL-3.0-or-later
#include "shutdown/ShutDownCommand.h"

#include "shutdown/PowerControl.h"

int runShutDown(const QStringList& arguments, PowerControl& power, QTextStream& err) {
    const bool powerOff = arguments == QStringList{QStringLiteral("1")};
    const bool hibernate = arguments == QStringList{QStringLiteral("0")};
    if (!powerOff && !hibernate) {
        err << "Usage: ShutDown 1|0\n"
               "  1  shut down the computer and power off\n"
               "  0  hibernate\n";
        err.flush();
        return 2;
    }

    const PowerControl::Result result = powerOff ? power.powerOff() : power.hibernate();
    const QString what = powerOff ? QStringLiteral("power off") : QStringLiteral("hibernate");
    switch (result.outcome) {
    case PowerControl::Result::Done:
        return 0;
    case PowerControl::Result::Refused:
        err << "ShutDown: the request to " << what << " was refused: " << result.detail << '\n';
        break;
    case PowerControl::Result::Unreachable:
        err << "ShutDown: could not ask systemd-logind to " << what << ": " << result.detail
            << '\n';
        break;
    }
    err.flush();
    return 1;
}
