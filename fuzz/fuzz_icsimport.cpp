// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the iCalendar importer must survive any bytes within its time budget,
// expanding the rules as an import does, and the rows it makes must be ones the calendar can
// store, no more than one import may make.
#include "FuzzCheck.h"
#include "TimeBudget.h"
#include "calendar/EventRules.h"
#include "calendar/ical/IcsImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A read is bounded by its rows and rule steps rather than its size: the allowance is
    // what the most rows and steps of one read may cost under the sanitizers.
    return withinTimeBudget(
        size,
        [&] {
            const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
            const IcsImport::Result r = IcsImport::read(
                bytes, QDate(2026, 3, 1), QTimeZone(QByteArrayLiteral("Europe/Berlin")));
            check(r.ok() || r.events.empty());
            size_t rows = 0;
            for (const IcsImport::Event& e : r.events) {
                check(!e.uid.isEmpty() && !e.rows.empty());
                check(e.rows.size() <= size_t(IcsImport::MaxRowsPerEvent));
                rows += e.rows.size();
                for (const EventRow& row : e.rows) {
                    check(row.uid == e.uid && !row.description.isEmpty() && row.holiday == 0);
                    check(row.eDate.isValid() && row.eDate >= EventRules::EarliestDate &&
                          row.eDate <= EventRules::LatestDate);
                    check(row.frequency == EventFrequency::OneTime ||
                          row.frequency == EventFrequency::Weekly ||
                          row.frequency == EventFrequency::Monthly ||
                          row.frequency == EventFrequency::Yearly);
                }
            }
            check(rows <= size_t(IcsImport::MaxRowsPerBatch));
        },
        2000);
}
