// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteDueReader.h"

#include "data/DataFile.h"

#include <QCoreApplication>

bool readNoteAlarms(DataFile& db, const AppPaths&, QList<DueEntry>& entries) {
    return db.forEach(QStringLiteral("SELECT SchDT, Frequency FROM QNotes WHERE Frequency > 0"), {},
                      [&](DataFile::Row q) {
                          DueEntry entry;
                          entry.frequency = q.value(1).toInt();
                          entry.action = QLatin1String(NoteAlarmAction);
                          if (readDue(q.value(0), entry.date, entry.time))
                              entries.append(std::move(entry));
                          return true;
                      });
}

DueAction noteAlarmAction(std::function<void()> alarm,
                          std::function<void(const QList<QDateTime>&)> lateAlarm) {
    return {.fire =
                [alarm = std::move(alarm)](const DueEntry&) {
                    if (alarm)
                        alarm();
                },
            .fireLate = std::move(lateAlarm),
            .lateName = QCoreApplication::translate("NoteDueReader", "Note alarm")};
}
