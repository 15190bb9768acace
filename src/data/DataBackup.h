// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/FileReplace.h"

#include <QString>
#include <QStringList>

class FileSchema;

// Backup and restore of the data file to and from a folder the user picks. Both write to a
// temporary name in the target's folder, flush it to the disk and rename it into place, so an
// interrupted run leaves the old file whole; what an interrupted run left is removed later. Results
// are only codes; the texts below are what the Options window shows for them.
namespace DataBackup {

enum class Result {
    Done,
    Failed,      // the copy could not be made or put in place; nothing was replaced
    NotFound,    // restore: the folder holds no data.plm
    NotDataFile, // restore: that file is not a Plumora data file; nothing was touched
    Newer,       // restore: made by a newer Plumora; nothing was touched
    OverLimit,   // restore: too large or too slow to read; nothing was touched
};

// What a restore found beyond its result: why it refused the file, and what of the file it
// left out.
struct RestoreDetails {
    QString reason;
    QStringList leftOut;
};

inline constexpr char FileName[] = "data.plm";
// Beside the data file, the one a restore replaced.
inline constexpr char BeforeRestoreSuffix[] = ".before-restore";

inline constexpr char MessageTitle[] = QT_TRANSLATE_NOOP("DataBackup", "Message");
inline constexpr char ConfirmTitle[] = QT_TRANSLATE_NOOP("DataBackup", "Confirm");
// %1: the backup file's full path.
inline constexpr char BackupDoneText[] =
    QT_TRANSLATE_NOOP("DataBackup", "Data has been backup to '%1'.");
inline constexpr char BackupFailedText[] = QT_TRANSLATE_NOOP("DataBackup", "Error during backup !");
inline constexpr char NotFoundText[] = QT_TRANSLATE_NOOP("DataBackup", "Data file not found !");
inline constexpr char RestoreConfirmText[] = QT_TRANSLATE_NOOP(
    "DataBackup",
    "Restore will overwrite all current Plumora data.\nAre you sure to restore data?");
inline constexpr char RestoreDoneText[] = QT_TRANSLATE_NOOP("DataBackup", "Restore is complete.");
inline constexpr char RestoreFailedText[] =
    QT_TRANSLATE_NOOP("DataBackup", "Error during restore !");
// %1: the file, %2: why it is refused.
inline constexpr char RestoreRefusedText[] =
    QT_TRANSLATE_NOOP("DataBackup", "'%1' cannot be restored: %2.\nNothing was changed.");
// Followed by one line per object.
inline constexpr char LeftOutText[] = QT_TRANSLATE_NOOP(
    "DataBackup", "These parts of the restored file are not Plumora's and were left out:");

// folder + "/data.plm".
QString backupPath(const QString& folder);

// A consistent, compacted copy of `dataFile` (taken by SQLite, never a byte copy of a file
// that may be in the middle of a write) becomes `folder`/data.plm, replacing an earlier
// backup only once the new one is complete. The copy is readable by its owner only: it
// holds the mail password.
Result backup(const QString& dataFile, const QString& folder,
              const FileOps& ops = FileOps::system());

// Whether `folder` holds something restore would accept: NotFound, NotDataFile, Newer,
// OverLimit or Done. The window asks this before its confirmation question; restore()
// checks again. The file is never changed.
Result checkRestoreSource(const FileSchema& schema, const QString& folder,
                          RestoreDetails* details = nullptr);

// Rebuilds `folder`/data.plm into a new data file of `schema`, Plumora's own (only its known
// tables and columns, as values; see RestoreRebuild) and puts that in place of `dataFile`.
// The replaced file is kept as dataFile + ".before-restore"; the new one is readable by its
// owner only. `dataFile` is never missing, whatever moment the run is stopped at.
Result restore(const FileSchema& schema, const QString& folder, const QString& dataFile,
               RestoreDetails* details = nullptr, const FileOps& ops = FileOps::system());

// The text the Options window shows after a backup to `folder` or a restore.
QString backupMessage(Result result, const QString& folder);
QString restoreMessage(Result result);
QString restoreMessage(Result result, const QString& folder, const RestoreDetails& details);

} // namespace DataBackup
