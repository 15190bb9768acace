// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quickaccess/RecentFiles.h"

#include <QString>

#include <array>
#include <future>
#include <optional>

// Reads the recent-files list for the minute tick without holding it up: a small list is
// read at once; a large one (up to RecentFiles::MaxFileBytes, a second or more of work) on
// a worker thread, and the tick takes its entries at a later minute.
class RecentListReader {
public:
    // Lists up to this size are read within the tick (a few milliseconds).
    static constexpr qint64 InlineBytes = 256 * 1024;
    // What identifies one version of the list (inode, size, modification time).
    using Version = std::array<qint64, 3>;

    RecentListReader() = default;
    ~RecentListReader();
    RecentListReader(RecentListReader&&) = default;
    RecentListReader& operator=(RecentListReader&&) = delete;

    // The entries of `path` as of `version`; nothing while a large list is still being read
    // (ask again next minute). A read of an older version is discarded once done.
    std::optional<QList<RecentFiles::Entry>> read(const QString& path, const Version& version);
    // Waits for a read in progress (tests, and the end of the program).
    void wait();

private:
    std::future<QList<RecentFiles::Entry>> m_reading;
    Version m_version{};
};
