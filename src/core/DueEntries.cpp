// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DueEntries.h"

#include "core/DataFile.h"
#include "core/DateText.h"
#include "core/ScheduleType.h"

#include <algorithm>

namespace {

// The settings the tick depends on, in the order they are read: a column without a value
// stops the reload there, and the ones before it keep their new values.
const Settings::Field TickFields[] = {
    Settings::Field::LastHolidayUpdate, Settings::Field::CheckMail,    Settings::Field::MailUser,
    Settings::Field::MailServer,        Settings::Field::MailPassword, Settings::Field::ShowEvery,
    Settings::Field::CheckMailMinutes,
};

bool readSettings(DataFile& db, Settings& cached) {
    Settings fresh = cached;
    const SettingsStore::ReadResult read = SettingsStore::read(db, fresh);
    if (!read.rowRead)
        return false;
    for (Settings::Field f : TickFields) {
        if (read.missing.contains(f))
            return false;
        cached.copyField(f, fresh);
    }
    for (Settings::Field f : Settings::allFields()) {
        if (!read.missing.contains(f))
            cached.copyField(f, fresh);
    }
    return true;
}

// Fills `entry` with what a Schedule row does; false for a row that can never fire.
bool describeAction(int schType, const QString& launch, const AppPaths& paths, DueEntry& entry) {
    switch (schType) {
    case ScheduleType::LaunchProgram:
        // A path with blanks is one path: the program gets no arguments.
        entry.action = DueAction::Program;
        entry.program = launch;
        return true;
    case ScheduleType::ShutDownSystem:
        entry.action = DueAction::ShutDown;
        entry.program = paths.helperProgram(QStringLiteral("ShutDown"));
        entry.arguments = {launch == QLatin1String("H") ? QStringLiteral("0")
                                                        : QStringLiteral("1")};
        return true;
    default:
        // A row being deleted or of an unknown type: firing it as a note alarm, as an
        // empty command would, is never what was meant.
        return false;
    }
}

} // namespace

// SchDT as date and minute. The usual "YYYY-MM-DD HH:MM" is read directly: the general
// date parser costs more than the rest of a reload together.
bool readDue(const QVariant& value, QDate& date, QTime& time) {
    const QString text = value.toString();
    if (text.size() == 16 && text[4] == u'-' && text[7] == u'-' && text[10] == u' ' &&
        text[13] == u':') {
        bool ok[5] = {};
        const int y = QStringView(text).mid(0, 4).toInt(&ok[0]);
        const int mo = QStringView(text).mid(5, 2).toInt(&ok[1]);
        const int d = QStringView(text).mid(8, 2).toInt(&ok[2]);
        const int h = QStringView(text).mid(11, 2).toInt(&ok[3]);
        const int mi = QStringView(text).mid(14, 2).toInt(&ok[4]);
        date = QDate(y, mo, d);
        time = QTime(h, mi);
        return std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }) &&
               date.isValid() && time.isValid();
    }
    const QDateTime due = DateText::toDateTime(value);
    date = due.date();
    time = QTime(due.time().hour(), due.time().minute());
    return due.isValid();
}

namespace {

// Appends the rows of one query (columns SchType, Launch, SchDT, Frequency); the rows of
// QNotes (`notes`) are note alarms.
bool readEntries(DataFile& db, const QString& sql, const AppPaths& paths, TickCache& cache,
                 bool notes) {
    return db.forEach(sql, {}, [&](DataFile::Row q) {
        DueEntry entry;
        entry.frequency = q.value(3).toInt();
        if (!readDue(q.value(2), entry.date, entry.time))
            return true;
        if (notes)
            entry.action = DueAction::NoteAlarm;
        else if (!describeAction(q.value(0).toInt(), q.value(1).toString(), paths, entry))
            return true;
        cache.entries.append(std::move(entry));
        cache.hasDueEntries = true;
        return true;
    });
}

} // namespace

bool loadTickCache(const QString& dataFile, const AppPaths& paths, TickCache& cache,
                   const QList<DueReader>& readers) {
    DataFile db(dataFile);
    if (!db.isOpen() || !readSettings(db, cache.settings))
        return false;

    cache.hasDueEntries = false;
    cache.entries.clear();
    return readEntries(db,
                       QStringLiteral("SELECT SchType, Launch, SchDT, Frequency FROM Schedule "
                                      "WHERE Frequency > 0"),
                       paths, cache, false) &&
           readEntries(db,
                       QStringLiteral("SELECT 0 AS SchType, '' AS Launch, SchDT, Frequency "
                                      "FROM QNotes WHERE Frequency > 0"),
                       paths, cache, true) &&
           std::all_of(readers.begin(), readers.end(), [&](const DueReader& read) {
               const qsizetype before = cache.entries.size();
               const bool ok = read(db, paths, cache.entries);
               if (cache.entries.size() > before)
                   cache.hasDueEntries = true;
               return ok;
           });
}
