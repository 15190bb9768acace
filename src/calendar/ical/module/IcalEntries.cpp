// SPDX-License-Identifier: GPL-3.0-or-later
// The entry points of the iCalendar module (calendar/ical/IcalModule.h).
#include "calendar/CalendarLog.h"
#include "calendar/ical/EventPatch.h"
#include "calendar/ical/IcalModule.h"
#include "calendar/ical/IcsExport.h"
#include "calendar/ical/IcsImport.h"

#include <type_traits>

// The module's own copy of the category: the same name, so the same logging rules.
Q_LOGGING_CATEGORY(lcCalendar, "plumora.calendar", QtCriticalMsg)

extern "C" {

Q_DECL_EXPORT void plumoraIcsRead(const QByteArray& data, const QDate& today, const QTimeZone& zone,
                                  int maxRows, IcsImport::Result& out) {
    out = IcsImport::read(data, today, zone, maxRows);
}

Q_DECL_EXPORT bool plumoraIcsEndless(const QByteArray& ics) {
    return IcsImport::endless(ics);
}

Q_DECL_EXPORT void plumoraIcsPrepare() {
    IcsImport::prepare();
}

Q_DECL_EXPORT void plumoraIcsWrite(const std::vector<EventRow>& rows, const QDateTime& now,
                                   const QHash<QString, KeptEvent>& kept, QByteArray& out) {
    out = IcsExport::write(rows, now, kept);
}

Q_DECL_EXPORT void plumoraEventPatch(const KeptEvent& kept, const std::vector<EventRow>& rows,
                                     const QDateTime& now, const QTimeZone& zone,
                                     QStringList* notes, QByteArray& out) {
    out = EventPatch::write(kept, rows, now, zone, notes);
}

Q_DECL_EXPORT bool plumoraEventChanged(const KeptEvent& kept, const std::vector<EventRow>& rows) {
    return EventPatch::changed(kept, rows);
}

} // extern "C"

// The program looks the entries up by these types.
static_assert(std::is_same_v<decltype(&plumoraIcsRead), IcalModule::Read>);
static_assert(std::is_same_v<decltype(&plumoraIcsEndless), IcalModule::Endless>);
static_assert(std::is_same_v<decltype(&plumoraIcsPrepare), IcalModule::Prepare>);
static_assert(std::is_same_v<decltype(&plumoraIcsWrite), IcalModule::Write>);
static_assert(std::is_same_v<decltype(&plumoraEventPatch), IcalModule::Patch>);
static_assert(std::is_same_v<decltype(&plumoraEventChanged), IcalModule::Changed>);
