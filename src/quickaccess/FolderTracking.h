// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataFile.h"
#include "quickaccess/RecentFiles.h"
#include "quickaccess/RecentListReader.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class ChangeHub;

// Learning the folders the user works in: each folder that holds a document opened today
// counts one hit per day in the QAccess table, and folders unused for more than 60 days
// leave it.
namespace FolderTracking {

inline constexpr int KeepDays = 60;

struct Row {
    qint64 rowId = -1;
    QString fullPath;
    int hits = 0;
    QDate qaDate; // invalid when the stored text is not a date
};

struct Changes {
    QList<Row> added;      // new folders: Hits 1, qaDate today
    QList<qint64> counted; // rows whose Hits grows by one and whose qaDate becomes today
    QList<qint64> removed; // rows last used more than KeepDays days ago
    bool isEmpty() const { return added.isEmpty() && counted.isEmpty() && removed.isEmpty(); }
};

// Folders never tracked: the desktop itself (its sub-folders are tracked) and anything
// on a floppy disk.
struct Exclusions {
    QString desktopFolder;
    QStringList floppyMountPoints;
};

// Mount points of floppy drives (/dev/fd0 ...) in a mountinfo table.
QStringList floppyMountPoints(const QByteArray& mountInfo);

// The folder of a document: its path up to the last "/", or "/" for a file in the root.
QString folderOf(const QString& path);

// What one pass changes. Entries count when their date is today, in list order; the first
// spelling of a folder wins, and an existing row keeps its own. Folder entries are skipped
// by their recorded type or, when none is recorded, by `isDirectory`. The clean-up runs only when
// the list has entries.
Changes plan(const QList<RecentFiles::Entry>& entries, const QDate& today, const QList<Row>& rows,
             const Exclusions& exclusions, const std::function<bool(const QString&)>& isDirectory);

} // namespace FolderTracking

// The once-a-minute pass over the recent-files list. It does nothing while neither the
// list, the data file nor the date has changed since the last pass it completed: the
// outcome would be the same.
class FolderTracker {
public:
    struct Sources {
        QString recentList; // RecentFiles::defaultPath() in the program
        QString dataFile;
        QString desktopFolder; // tracked documents never come from here
        QString mountInfo = QStringLiteral("/proc/self/mountinfo");
        ChangeHub* changes = nullptr; // told of the tracker's writes
    };
    // Reading: a large list is being read apart from the tick; a later pass goes on.
    enum class Outcome { Idle, Unchanged, Written, Failed, Reading };

    explicit FolderTracker(Sources sources);

    Outcome run(const QDate& today);
    // The same where the caller already looked at the data file (the tick).
    Outcome run(const QDate& today, const FileState& dataFile);

    // The data file's path as the file system spells it.
    const QByteArray& dataFileName() const { return m_dataName; }
    // The data file as the latest pass found it, and as it left it (after its write).
    const FileState& dataFileBefore() const { return m_dataBefore; }
    const FileState& dataFileAfter() const { return m_data; }
    // Waits until a large list being read is read (tests).
    void waitForList() { m_reader.wait(); }

private:
    Sources m_sources;
    // The two files' paths as the file system spells them, looked at every minute.
    QByteArray m_listName;
    QByteArray m_dataName;
    QDate m_lastDay;
    FileState m_list;
    FileState m_data;
    FileState m_dataBefore;
    RecentListReader m_reader;
};
