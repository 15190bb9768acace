// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/HelpLanguage.h"

QString HelpLanguage::note() {
    static const char* const source = QT_TR_NOOP("The help pages are in English for now.");
    const QString text = tr(source);
    return text == QLatin1String(source) ? QString() : text;
}
