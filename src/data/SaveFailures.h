// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the user hears when work cannot be saved: which file and why. A save the user asked
// for (a window closing, the program ending) tells at once. Autosave, which tries again by
// itself, speaks once when a run of failures begins and once when saving works again, not
// at every retry.
namespace SaveFailures {

// "%1 could not be saved to FILE:\nREASON" (what: "The notes", "The schedule", ...).
QString failedText(const QString& what, const QString& file, const QString& reason);

// At "Unload Plumora" with unsaved work; answered with "Quit anyway" or "Stay".
QString unloadText(const QString& what, const QString& file, const QString& reason);
// The same for several failures, each a failedText().
QString unloadText(const QStringList& failures);

class Streak {
public:
    explicit Streak(QString what) : m_what(std::move(what)) {}
    // The notice to show for this failure: text when it begins a streak, else empty.
    QString failed(const QString& file, const QString& reason);
    // The notice to show for this success: text when it ends a streak, else empty.
    QString succeeded(const QString& file);
    bool failing() const { return m_failing; }

private:
    QString m_what;
    bool m_failing = false;
};

} // namespace SaveFailures
