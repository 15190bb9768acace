// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quickaccess/FolderTracking.h"
#include "shell/Jobs.h"

class DesktopShell;
class QuickAccessStore;

// Records the folders in use once a minute. Cheap while nothing changed: the tracker
// then only compares the list's and the data file's stamps.
class FolderTrackingJob final : public MinuteJob {
public:
    explicit FolderTrackingJob(FolderTracker::Sources sources);
    // The user's recent-files list and desktop folder as the desktop names them, and the
    // store of the folders. Without a known recent-files folder the job finds nothing.
    FolderTrackingJob(const QuickAccessStore& store, const DesktopShell& shell);

    const char* name() const override { return "folder tracking"; }
    void run(MinuteContext& minute) override;

    // What the latest run did (Idle before the first one).
    FolderTracker::Outcome lastOutcome() const { return m_lastOutcome; }

private:
    FolderTracker m_tracker;
    FolderTracker::Outcome m_lastOutcome = FolderTracker::Outcome::Idle;
};
