// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the holiday list Plumora ships, and the copy a web site serves (the same list
// followed by the completeness mark "^").
// usage: mkholidays LIST_FILE WEB_FILE YEAR
// YEAR is the first year of the moving holidays; the list covers it and the ten after.
#include "calendar/HolidayList.h"
#include "calendar/HolidayRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

bool save(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "mkholidays: %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool yearOk = false;
    const int year = args.size() == 4 ? args[3].toInt(&yearOk) : 0;
    if (!yearOk || year < 1583 || year > 9989) {
        std::fprintf(stderr, "usage: mkholidays LIST_FILE WEB_FILE YEAR\n");
        return 2;
    }
    const std::vector<HolidayList::Record> records = HolidayRules::shippedList(year);
    const std::optional<QByteArray> list = HolidayList::write(records);
    if (!list) {
        std::fprintf(stderr, "mkholidays: a holiday text cannot be written as a list field\n");
        return 1;
    }
    return save(args[1], *list) && save(args[2], *list + HolidayList::CompleteMark) ? 0 : 1;
}
