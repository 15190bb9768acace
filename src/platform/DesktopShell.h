// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Special folders by their numbers in the settings of older versions.
enum class SpecialFolder { Documents = 5, Recent = 8, Desktop = 16, ProgramFiles = 38 };

// The desktop's ways of opening things: web addresses and documents, programs, and the
// user's folders.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;

    // Opens an address in the user's browser; false when nothing could open it.
    virtual bool openUrl(const QString& address) = 0;
    // Starts a program with its arguments, never through a shell; false when it cannot start.
    virtual bool startProgram(const QString& program, const QStringList& arguments,
                              const QString& workingFolder = {}) = 0;
    // The folder's path ending in "/", or "" when it is unknown.
    virtual QString specialFolderPath(SpecialFolder folder) const = 0;
};
