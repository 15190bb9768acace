// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SaveFailures.h"

#include <QCoreApplication>

namespace SaveFailures {

QString failedText(const QString& what, const QString& file, const QString& reason) {
    return QCoreApplication::translate("SaveFailures", "%1 could not be saved to %2:\n%3")
        .arg(what, file, reason);
}

QString unloadText(const QString& what, const QString& file, const QString& reason) {
    return unloadText(QStringList{failedText(what, file, reason)});
}

QString unloadText(const QStringList& failures) {
    return QCoreApplication::translate(
               "SaveFailures", "%1\n\nIf Plumora quits now, what was not saved is lost. Stay, "
                               "and it remains in its window while you make room or fix the "
                               "folder.")
        .arg(failures.join(QStringLiteral("\n\n")));
}

QString Streak::failed(const QString& file, const QString& reason) {
    if (m_failing)
        return {};
    m_failing = true;
    return QCoreApplication::translate(
               "SaveFailures", "%1\n\nPlumora keeps trying; your text stays open meanwhile.")
        .arg(failedText(m_what, file, reason));
}

QString Streak::succeeded(const QString& file) {
    if (!m_failing)
        return {};
    m_failing = false;
    return QCoreApplication::translate("SaveFailures", "%1 are saved to %2 again.")
        .arg(m_what, file);
}

} // namespace SaveFailures
