// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"
#include "calendar/ical/IcsImport.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <vector>

// libical and the code that reads and writes iCalendar with it (IcsImport::read and
// endless, IcsExport::write, EventPatch) are a module of their own in the program
// (libplumora_ical.so, see platform/Module.h), loaded at the first import, subscription
// update, sync or export; tests and benchmarks link that code in instead. Either way the
// callers use the classes as they are.
namespace IcalModule {

// The module's file (AppPaths::helperProgram); set before the first read or write. Nothing
// to do where the code is linked in.
void use(const QString& path);

// Why the module could not be loaded; empty while it works (and always where linked in).
QString failure();

// The module's entry points: bytes or rows in, rows or bytes out.
using Read = void (*)(const QByteArray& data, const QDate& today, const QTimeZone& zone,
                      int maxRows, IcsImport::Result& out);
using Endless = bool (*)(const QByteArray& ics);
using Prepare = void (*)();
using Write = void (*)(const std::vector<EventRow>& rows, const QDateTime& now,
                       const QHash<QString, KeptEvent>& kept, QByteArray& out);
using Patch = void (*)(const KeptEvent& kept, const std::vector<EventRow>& rows,
                       const QDateTime& now, const QTimeZone& zone, QStringList* notes,
                       QByteArray& out);
using Changed = bool (*)(const KeptEvent& kept, const std::vector<EventRow>& rows);

} // namespace IcalModule
