#pragma once

#include <QString>

// Backup and restore of the data file to and from a folder the user picks. Both write to a
// temporary name in the target's folder and rename it into place, so an interrupted run
// leaves the old file whole. Results are only codes; the texts below are what the Options
// window shows for them.
namespace DataBackup {

enum class Result {
    Done,
    Failed,     // the copy could not be made or put in place; nothing was replaced
    NotFound,   // restore: the folder holds no data.plm
    NotDataFile // restore: that file is not a Plumora data file; nothing was touched
};

inline constexpr char FileName[] = "data.plm";
// Beside the data file, the one a restore replaced.
inline constexpr char BeforeRestoreSuffix[] = ".before-restore";

inline constexpr char MessageTitle[] = "Message";
inline constexpr char ConfirmTitle[] = "Confirm";
// %1: the backup file's full path.
inline constexpr char BackupDoneText[] = "Data has been backup to '%1'.";
inline constexpr char BackupFailedText[] = "Error during backup !";
inline constexpr char NotFoundText[] = "Data file not found !";
inline constexpr char RestoreConfirmText[] =
    "Restore will overwrite all current Plumora data.\nAre you sure to restore data?";
inline constexpr char RestoreDoneText[] = "Restore is complete.";
inline constexpr char RestoreFailedText[] = "Error during restore !";

// folder + "/data.plm".
QString backupPath(const QString& folder);

// A consistent, compacted copy of `dataFile` (taken by SQLite, never a byte copy of a file
// that may be in the middle of a write) becomes `folder`/data.plm, replacing an earlier
// backup only once the new one is complete. The copy is readable by its owner only: it
// holds the mail password.
Result backup(const QString& dataFile, const QString& folder);

// Whether `folder` holds something restore would accept: NotFound, NotDataFile or Done.
// The window asks this before its confirmation question; restore() checks again.
Result checkRestoreSource(const QString& folder);

// Replaces `dataFile` by a copy of `folder`/data.plm once that copy has proved to be a
// Plumora data file (SQLite with a System table of exactly one row). The replaced file is
// kept as dataFile + ".before-restore"; the new one is readable by its owner only.
Result restore(const QString& folder, const QString& dataFile);

// The text the Options window shows after a backup to `folder` or a restore.
QString backupMessage(Result result, const QString& folder);
QString restoreMessage(Result result);

} // namespace DataBackup
