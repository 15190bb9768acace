// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

// The help pages are written in English only. A user who runs Plumora in another language
// reads so in one line at the top of the help: the line exists only where the loaded
// translation carries it, so English users never see it.
class HelpLanguage {
    Q_DECLARE_TR_FUNCTIONS(HelpLanguage)
public:
    // The line in the user's language, or "" when the texts are English.
    static QString note();
};
