// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AppPaths.h"
#include "data/FileSchema.h"

class ChangeHub;

// Start-up care of the data file: create it from the template, bring its schema up to date,
// mark the first run and normalise CheckSum. Each step stands alone: when one fails and a
// replacement file temp.plm exists, the damaged data file is set aside (never deleted) as
// data.plm.damaged and temp.plm takes its place; then the next step runs. Nothing is shown.
class SettingsCheck {
public:
    struct Result {
        bool firstRun = false;  // NotifyAgo was 255 and is now 2: show the help once
        bool recovered = false; // temp.plm replaced a damaged data file
        int failedSteps = 0;
        // Why the data file cannot be read after all steps; empty when it can.
        QString unreadable;
        // Triggers and views not Plumora's, dropped this start: tell the user once.
        QString cleanupMessage;
        // The data file is read-only (by its mode or to this user): it is read, not written.
        bool readOnly = false;
    };

    // `schema` is the file's, whose steps bring an older file up to date; `changes` hears of
    // the steps' writes (the first-run mark, the schema's steps).
    SettingsCheck(AppPaths paths, FileSchema schema, ChangeHub* changes = nullptr);

    Result run();

    // Moves the damaged data file aside and temp.plm into its place; false when there is no
    // temp.plm or the damaged file cannot be kept.
    bool recoverFromReplacement();

private:
    bool copyTemplate();
    QString unreadableReason(const QString& error) const;

    AppPaths m_paths;
    FileSchema m_schema;
    ChangeHub* m_changes = nullptr;
};

// Limits a file to its owner: data.plm and its copies hold the mail password. Group and
// other bits are cleared on the file itself (a symbolic link is left alone); the owner's
// bits stay as they are.
void restrictToOwner(const QString& path);

// Whether `path` is a file its owner made read-only, or one this user cannot write.
bool isReadOnlyFile(const QString& path);
QString readOnlyDataFileMessage(const QString& dataFile);

// What the user is told, once per start, about a data file that cannot be read: which file,
// why, and the two ways back. Nothing is changed in the file.
QString unreadableDataFileMessage(const QString& dataFile, const QString& reason);
