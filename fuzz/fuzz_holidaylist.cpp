// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the holiday list reader must survive any bytes, and what it reads must
// hold together.
#include "FuzzCheck.h"
#include "calendar/EventRules.h"
#include "calendar/HolidayList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const HolidayList::Parsed parsed = HolidayList::parse(bytes);
    check(!parsed.tooLarge);
    for (const HolidayList::Record& r : parsed.records) {
        for (const QString& field : {r.text, r.date, r.icon, r.country})
            check(!field.contains(u'\n') && !field.contains(u'\r'));
        if (const std::optional<EventRow> row = HolidayList::eventRow(r)) {
            check(row->eDate.isValid() && row->eDate >= EventRules::EarliestDate &&
                  row->eDate <= EventRules::LatestDate);
            check(row->frequency == HolidayList::frequencyOf(r.icon.trimmed()));
            const int k = row->holiday % 100;
            check(k >= 1 && k <= 99 && row->holiday < 300);
        }
    }
    // Whatever was read and can be written reads back the same.
    if (const std::optional<QByteArray> written = HolidayList::write(parsed.records)) {
        const HolidayList::Parsed again = HolidayList::parse(*written);
        check(again.malformed == 0 && again.records == parsed.records);
    }
    if (const auto list = HolidayList::completeTransfer(bytes))
        check(list->size() == bytes.size() - 1);
    return 0;
}
