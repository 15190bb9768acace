// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/FolderTrackingJob.h"

#include "platform/DesktopShell.h"
#include "quickaccess/QuickAccessLog.h"
#include "quickaccess/QuickAccessStore.h"
#include "quickaccess/RecentListWatch.h"

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

FolderTrackingJob::FolderTrackingJob(FolderTracker::Sources sources,
                                     std::function<void()> listChanged)
    : m_tracker(sources), m_listPath(sources.recentList), m_listChanged(std::move(listChanged)) {}

FolderTrackingJob::FolderTrackingJob(const QuickAccessStore& store, const DesktopShell& shell,
                                     std::function<void()> listChanged)
    : FolderTrackingJob(sourcesOf(store, shell), std::move(listChanged)) {}

FolderTrackingJob::~FolderTrackingJob() = default;

void FolderTrackingJob::run(MinuteContext& minute) {
    // Watched before the first look, so that no change falls between the two.
    if (!m_watch && m_listChanged && !m_listPath.isEmpty()) {
        m_watch = std::make_unique<RecentListWatch>(m_listPath);
        QObject::connect(m_watch.get(), &RecentListWatch::changed, m_watch.get(), m_listChanged);
    }
    m_lastOutcome = m_tracker.run(minute.now.date(), minute.fileState(m_tracker.dataFileName()));
    // QAccess is not among what the tick keeps.
    if (m_lastOutcome == FolderTracker::Outcome::Written)
        minute.wroteOwnData(m_tracker.dataFileBefore().modifiedNs,
                            m_tracker.dataFileAfter().modifiedNs);
    if (m_lastOutcome == FolderTracker::Outcome::Failed)
        qCWarning(lcQuickAccess) << "folder tracking: the pass failed; the next minute retries";
}

QDateTime FolderTrackingJob::nextNeeded(const MinuteContext& minute) const {
    // A list being read, or a pass that failed, goes on the next minute.
    if (!m_watch || !m_watch->watching() || m_lastOutcome == FolderTracker::Outcome::Reading ||
        m_lastOutcome == FolderTracker::Outcome::Failed)
        return {};
    // A new day counts the folders afresh; a write to the data file wakes every job.
    return QDateTime(minute.now.date().addDays(1), QTime(0, 0), Qt::OffsetFromUTC,
                     minute.now.offsetFromUtc());
}
