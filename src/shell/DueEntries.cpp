// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/DueEntries.h"

#include "data/DataFile.h"
#include "data/DateText.h"

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

bool loadTickCache(const QString& dataFile, const AppPaths& paths, TickCache& cache,
                   const QList<DueReader>& readers) {
    DataFile db(dataFile);
    if (!db.isOpen() || !readSettings(db, cache.settings))
        return false;

    cache.hasDueEntries = false;
    cache.entries.clear();
    return std::all_of(readers.begin(), readers.end(), [&](const DueReader& read) {
        const qsizetype before = cache.entries.size();
        const bool ok = read(db, paths, cache.entries);
        if (cache.entries.size() > before)
            cache.hasDueEntries = true;
        return ok;
    });
}
