// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/PopAction.h"

PopAction PopAction::parse(const QString& text) {
    PopAction action;
    if (text.startsWith(QLatin1String("http"), Qt::CaseSensitive)) {
        action.kind = OpenAddress;
        action.address = text;
        return action;
    }
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    if (ok) {
        action.kind = MenuCommand;
        action.menuIndex = index;
    }
    return action;
}
