// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the WebDAV multistatus reader of calendar sync must survive any bytes;
// a refused body yields nothing, a read one only what its elements held, within the time
// budget of a reader of outside data.
#include "FuzzCheck.h"
#include "TimeBudget.h"
#include "calendar/caldav/DavXml.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return withinTimeBudget(size, [&] {
        const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
        const DavMultistatus m = DavXml::parse(bytes);
        check(m.ok() || (m.responses.empty() && m.syncToken.isEmpty()));
        for (const DavResponse& r : m.responses) {
            check(r.status == 0 || (r.status >= 100 && r.status <= 599));
            check(r.calendarData.size() <= qsizetype(size));
            check(r.href.size() <= qsizetype(size));
        }
    });
}
