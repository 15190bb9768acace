// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: what a disc and the kernel hand the CD drive code (autorun.inf, the
// CD-ROM info table, the mount table) must be read without a crash and in linear time.
#include "TimeBudget.h"
#include "platform/MountTable.h"
#include "quickaccess/CdDrives.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return withinTimeBudget(size, [&] {
        const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));

        const QString open = CdDrives::autorunInfOpen(text);
        if (open.contains(QLatin1Char('\n')))
            std::abort(); // a value never runs past its line

        const QList<CdDrives::Drive> drives = CdDrives::parse(text);
        const QList<MountTable::Mount> mounts = MountTable::parse(text);
        if (mounts.size() > text.count('\n') + 1)
            std::abort();
        for (const CdDrives::Drive& drive : drives) {
            if (!drive.device.startsWith(QLatin1String("/dev/")))
                std::abort();
            CdDrives::mountPointOf(drive.device, mounts);
        }
    });
}
