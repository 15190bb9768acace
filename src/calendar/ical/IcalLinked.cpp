// SPDX-License-Identifier: GPL-3.0-or-later
// Where the iCalendar code is linked in (tests, benchmarks), there is no module to load.
#include "calendar/ical/IcalModule.h"

void IcalModule::use(const QString&) {}

QString IcalModule::failure() {
    return {};
}
