// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/RecentListWatch.h"

#include "base/QuietReadNotifier.h"
#include "quickaccess/QuickAccessLog.h"

#include <QFile>
#include <QFileInfo>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace {

// In the list's folder: the list made, written, renamed in or out, removed.
constexpr uint32_t ListNotices =
    IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE;
// In a folder above it: a folder made on the way.
constexpr uint32_t WayNotices = IN_CREATE | IN_MOVED_TO;
// The watched folder itself removed or moved: the watch must move.
constexpr uint32_t GoneNotices = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;

} // namespace

RecentListWatch::RecentListWatch(QString listPath, QObject* parent)
    : QObject(parent), m_path(std::move(listPath)),
      m_name(QFile::encodeName(QFileInfo(m_path).fileName())) {
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0) {
        renew();
        // Notices are rare beside the wakes of the event loop: watched off it.
        m_notifier = new QuietReadNotifier(m_inotify, this);
        connect(m_notifier, &QuietReadNotifier::activated, this, &RecentListWatch::readNotices);
    } else {
        qCWarning(lcQuickAccess) << "no file notices:" << qt_error_string(errno)
                                 << "; the recent-files list is looked at each minute";
    }
}

RecentListWatch::~RecentListWatch() {
    delete m_notifier;
    if (m_inotify >= 0)
        ::close(m_inotify);
}

bool RecentListWatch::renew() {
    QString folder = QFileInfo(m_path).absolutePath();
    const QString listFolder = folder;
    while (!QFileInfo(folder).isDir()) {
        const QString up = QFileInfo(folder).path();
        if (up == folder)
            break;
        folder = up;
    }
    if (folder == m_watched && m_watch >= 0)
        return false;
    if (m_watch >= 0)
        ::inotify_rm_watch(m_inotify, m_watch);
    m_watched = folder;
    m_atList = folder == listFolder;
    m_watch = ::inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(),
                                  (m_atList ? ListNotices : WayNotices) | IN_ONLYDIR |
                                      IN_DELETE_SELF | IN_MOVE_SELF);
    if (m_watch < 0)
        qCWarning(lcQuickAccess) << "cannot watch" << folder << qt_error_string(errno)
                                 << "; the recent-files list is looked at each minute";
    else if (!m_atList)
        renew(); // a folder made on the way while the watch was put
    return true;
}

void RecentListWatch::readNotices() {
    bool listTouched = false;
    bool moveWatch = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_inotify, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto* notice = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + notice->len);
            if (notice->mask & IN_Q_OVERFLOW) { // notices were lost: anything may have changed
                listTouched = moveWatch = true;
                continue;
            }
            if (notice->wd != m_watch)
                continue; // a folder watched before
            if (notice->mask & GoneNotices) {
                ::inotify_rm_watch(m_inotify, m_watch); // gone already, unless moved
                m_watch = -1;
                moveWatch = true;
            } else if (!m_atList)
                moveWatch = true; // a folder made on the way may be the list's
            else if (notice->len && QByteArray(notice->name) == m_name)
                listTouched = true;
        }
    }
    // Once the watch moves to another folder, the list may already be there.
    if (moveWatch && renew())
        listTouched = true;
    if (listTouched)
        Q_EMIT changed();
}
