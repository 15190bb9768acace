// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/RecentListReader.h"

#include <chrono>

RecentListReader::~RecentListReader() {
    wait();
}

void RecentListReader::wait() {
    if (m_reading.valid())
        m_reading.wait();
}

std::optional<QList<RecentFiles::Entry>> RecentListReader::read(const QString& path,
                                                                const Version& version) {
    if (m_reading.valid()) {
        if (m_reading.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return std::nullopt;
        QList<RecentFiles::Entry> entries = m_reading.get();
        if (m_version == version)
            return entries;
    }
    if (version[1] <= InlineBytes)
        return RecentFiles::read(path);
    m_version = version;
    m_reading = std::async(std::launch::async, [path] { return RecentFiles::read(path); });
    return std::nullopt;
}
