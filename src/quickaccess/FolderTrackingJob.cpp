// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/FolderTrackingJob.h"

#include "platform/DesktopShell.h"
#include "quickaccess/QuickAccessLog.h"
#include "quickaccess/QuickAccessStore.h"

namespace {

FolderTracker::Sources sourcesOf(const QuickAccessStore& store, const DesktopShell& shell) {
    const QString recent = shell.specialFolderPath(SpecialFolder::Recent);
    FolderTracker::Sources sources;
    sources.recentList =
        recent.isEmpty() ? QString() : recent + QStringLiteral("recently-used.xbel");
    sources.dataFile = store.dataFile();
    sources.changes = store.changes();
    sources.desktopFolder = shell.specialFolderPath(SpecialFolder::Desktop);
    return sources;
}

} // namespace

FolderTrackingJob::FolderTrackingJob(FolderTracker::Sources sources)
    : m_tracker(std::move(sources)) {}

FolderTrackingJob::FolderTrackingJob(const QuickAccessStore& store, const DesktopShell& shell)
    : FolderTrackingJob(sourcesOf(store, shell)) {}

void FolderTrackingJob::run(MinuteContext& minute) {
    m_lastOutcome = m_tracker.run(minute.now.date(), minute.fileState(m_tracker.dataFileName()));
    // QAccess is not among what the tick keeps.
    if (m_lastOutcome == FolderTracker::Outcome::Written)
        minute.wroteOwnData(m_tracker.dataFileBefore().modifiedNs,
                            m_tracker.dataFileAfter().modifiedNs);
    if (m_lastOutcome == FolderTracker::Outcome::Failed)
        qCWarning(lcQuickAccess) << "folder tracking: the pass failed; the next minute retries";
}
