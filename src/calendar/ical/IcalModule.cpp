// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the iCalendar module: the classes' calls, each handed to the module,
// which is loaded at the first of them (from any thread).
#include "calendar/ical/IcalModule.h"

#include "calendar/ical/EventPatch.h"
#include "calendar/ical/IcsExport.h"
#include "calendar/ical/IcsImport.h"
#include "platform/Module.h"

#include <QCoreApplication>

namespace {

struct Entries {
    IcalModule::Read read = nullptr;
    IcalModule::Endless endless = nullptr;
    IcalModule::Write write = nullptr;
    IcalModule::Patch patch = nullptr;
    IcalModule::Changed changed = nullptr;
    QString failure;
};

Entries load(Module& module, const QString& path) {
    Entries e;
    e.read = module.entry<IcalModule::Read>("plumoraIcsRead");
    e.endless = module.entry<IcalModule::Endless>("plumoraIcsEndless");
    e.write = module.entry<IcalModule::Write>("plumoraIcsWrite");
    e.patch = module.entry<IcalModule::Patch>("plumoraEventPatch");
    e.changed = module.entry<IcalModule::Changed>("plumoraEventChanged");
    const auto prepare = module.entry<IcalModule::Prepare>("plumoraIcsPrepare");
    if (!e.read || !e.endless || !e.write || !e.patch || !e.changed || !prepare) {
        e = Entries{};
        e.failure = QCoreApplication::translate("IcalModule",
                                                "The iCalendar module (%1) could not be loaded.")
                        .arg(path.isEmpty() ? QStringLiteral("libplumora_ical.so") : path);
    } else {
        // Loaded on whichever thread came first: readied here for the others.
        prepare();
    }
    return e;
}

ModuleEntries<Entries>& module() {
    static ModuleEntries<Entries> m(&load);
    return m;
}

// The module's entries, looked up at the first call after the path was set.
Entries entries() {
    return module().get();
}

} // namespace

void IcalModule::use(const QString& path) {
    module().use(path);
}

QString IcalModule::failure() {
    return entries().failure;
}

void IcsImport::prepare() {
    entries();
}

IcsImport::Result IcsImport::read(const QByteArray& data, const QDate& today, const QTimeZone& zone,
                                  int maxRows) {
    Result out;
    const Entries e = entries();
    if (e.read)
        e.read(data, today, zone, maxRows, out);
    else
        out.error = e.failure;
    return out;
}

bool IcsImport::endless(const QByteArray& ics) {
    const auto endless = entries().endless;
    return endless && endless(ics);
}

// Empty when the module is missing (a written file never is): callers check, and say
// IcalModule::failure().
QByteArray IcsExport::write(const std::vector<EventRow>& rows, const QDateTime& now,
                            const QHash<QString, KeptEvent>& kept) {
    QByteArray out;
    if (const auto write = entries().write)
        write(rows, now, kept, out);
    return out;
}

QByteArray EventPatch::write(const KeptEvent& kept, const std::vector<EventRow>& rows,
                             const QDateTime& now, const QTimeZone& zone, QStringList* notes) {
    QByteArray out;
    if (const auto patch = entries().patch)
        patch(kept, rows, now, zone, notes, out);
    return out;
}

bool EventPatch::changed(const KeptEvent& kept, const std::vector<EventRow>& rows) {
    const auto changed = entries().changed;
    return changed && changed(kept, rows);
}
