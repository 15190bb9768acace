// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the recent-files scanner must survive any list and stay linear in it.
#include "TimeBudget.h"
#include "quickaccess/RecentFiles.h"

#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcQuickAccess, "plumora.quickaccess", QtCriticalMsg)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return withinTimeBudget(size, [&] {
        const QByteArray list(reinterpret_cast<const char*>(data), qsizetype(size));
        const QList<RecentFiles::Entry> entries = RecentFiles::parse(list);
        // Every entry stands for a "<bookmark" of the input.
        if (entries.size() > list.count("<bookmark"))
            std::abort();
        for (const RecentFiles::Entry& e : entries) {
            if (!e.path.startsWith(QLatin1Char('/')))
                std::abort();
        }
    });
}
