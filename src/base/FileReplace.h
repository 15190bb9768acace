// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Putting a finished file in place of another so that a crash or a full disk at any moment
// leaves either the old file or the new one, complete: the new file is flushed to the disk
// before it takes the name, and the folder after. The few system calls involved go through
// FileOps so that tests can make one of them fail.
struct FileOps {
    int (*rename)(const char* from, const char* to);
    int (*link)(const char* from, const char* to);
    int (*fsync)(int fd);

    static const FileOps& system();
};

namespace FileReplace {

// Flushes a file's contents, or a folder's entries, to the disk.
bool syncFile(const QString& path, QString* error = nullptr,
              const FileOps& ops = FileOps::system());
bool syncFolder(const QString& folder, QString* error = nullptr,
                const FileOps& ops = FileOps::system());

// Moves the finished file `part` over `target`. When `kept` is not empty and `target`
// exists, `target` is first hard-linked (copied where links are not possible) to `kept`,
// replacing an older `kept`; so at every moment `target` names either the old or the new
// file. On failure `part` is removed and `target` is unchanged.
bool replace(const QString& part, const QString& target, const QString& kept,
             QString* error = nullptr, const FileOps& ops = FileOps::system());

// The name a temporary file beside `target` gets ("<target>.part-XXXXXX" for QTemporaryFile).
QString partTemplate(const QString& target);

// Makes a folder this user owns readable by its owner only, on the folder itself: a
// symbolic link in its place, or a folder of someone else, is left alone (false).
bool restrictFolderToOwner(const QString& folder);

// Removes what interrupted replacements of `target` left beside it: its temporary parts and
// their SQLite journals, and with PartsAndOlderCopies also the older "<target>.XXXXXX"
// form (only in Plumora's own folder: in a folder of the user's, a name of that form may
// be the user's). Returns how many.
enum class Leftovers { Parts, PartsAndOlderCopies };
int removeLeftovers(const QString& target, Leftovers which = Leftovers::Parts);

} // namespace FileReplace
