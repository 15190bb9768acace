// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Text of the user's own or from a download, for the places that read rich text (tool
// tips, labels left on automatic format): escaped and marked as rich text, so markup in it
// is shown as written and never interpreted, and long lines still wrap.
inline QString asRichText(const QString& plain) {
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + plain.toHtmlEscaped() +
           QStringLiteral("</p>");
}
