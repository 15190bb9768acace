// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/PopAction.h"

#include <QRegularExpression>

PopAction PopAction::parse(const QString& text) {
    PopAction action;
    if (text.startsWith(QLatin1String("http"), Qt::CaseSensitive)) {
        action.kind = OpenAddress;
        action.address = text;
        return action;
    }
    // A tool's id is a word: letters, digits and underscores.
    static const QRegularExpression id(QStringLiteral("^\\w+$"));
    const QString tool = text.trimmed();
    if (id.match(tool).hasMatch()) {
        action.kind = ShowTool;
        action.tool = tool;
    }
    return action;
}
