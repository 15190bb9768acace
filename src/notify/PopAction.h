// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The action a click on the pop-up message performs, read from the text its caller set:
// a web address when the text begins with "http" exactly (lower case), else the id of the
// tool whose page it shows. Anything else does nothing.
struct PopAction {
    enum Kind { None, OpenAddress, ShowTool };
    Kind kind = None;
    QString address;
    QString tool;

    static PopAction parse(const QString& text);
};
