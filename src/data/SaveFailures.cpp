// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SaveFailures.h"

namespace SaveFailures {

QString failedText(const QString& what, const QString& file, const QString& reason) {
    return QStringLiteral("%1 could not be saved to %2:\n%3").arg(what, file, reason);
}

QString unloadText(const QString& what, const QString& file, const QString& reason) {
    return unloadText(QStringList{failedText(what, file, reason)});
}

QString unloadText(const QStringList& failures) {
    return failures.join(QStringLiteral("\n\n")) +
           QStringLiteral("\n\nIf Plumora quits now, what was not saved is lost. Stay, and it "
                          "remains in its window while you make room or fix the folder.");
}

QString Streak::failed(const QString& file, const QString& reason) {
    if (m_failing)
        return {};
    m_failing = true;
    return failedText(m_what, file, reason) +
           QStringLiteral("\n\nPlumora keeps trying; your text stays open meanwhile.");
}

QString Streak::succeeded(const QString& file) {
    if (!m_failing)
        return {};
    m_failing = false;
    return QStringLiteral("%1 are saved to %2 again.").arg(m_what, file);
}

} // namespace SaveFailures
