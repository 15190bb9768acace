// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quickaccess/FolderTracking.h"
#include "shell/Jobs.h"

#include <functional>
#include <memory>

class DesktopShell;
class QuickAccessStore;
class RecentListWatch;

// Records the folders in use once a minute. Cheap while nothing changed: the tracker
// then only compares the list's and the data file's stamps. Given `listChanged`, it watches
// the list from its first run on and rests until the list changes (then `listChanged` is
// called, to wake it) or the day does.
class FolderTrackingJob final : public MinuteJob {
public:
    explicit FolderTrackingJob(FolderTracker::Sources sources,
                               std::function<void()> listChanged = {});
    // The user's recent-files list and desktop folder as the desktop names them, and the
    // store of the folders. Without a known recent-files folder the job finds nothing.
    FolderTrackingJob(const QuickAccessStore& store, const DesktopShell& shell,
                      std::function<void()> listChanged = {});
    ~FolderTrackingJob() override;

    const char* name() const override { return "folder tracking"; }
    void run(MinuteContext& minute) override;
    QDateTime nextNeeded(const MinuteContext& minute) const override;

    // What the latest run did (Idle before the first one).
    FolderTracker::Outcome lastOutcome() const { return m_lastOutcome; }

private:
    FolderTracker m_tracker;
    FolderTracker::Outcome m_lastOutcome = FolderTracker::Outcome::Idle;
    QString m_listPath;
    std::function<void()> m_listChanged;
    std::unique_ptr<RecentListWatch> m_watch; // made at the first run, given `listChanged`
};
