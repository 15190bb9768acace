// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class FileSchema;

// A restore never adopts the file it is given: the file is opened read-only, with views and
// triggers switched off and under a time limit, and only the tables and columns Plumora
// knows are read from it, as values. They are written into a new file made from Plumora's
// own schema. Whatever else the file holds (tables, views, triggers, indexes) stays behind
// and is named, so the user can be told.
namespace RestoreRebuild {

struct Limits {
    qint64 maxBytes = qint64(4) << 30;
    // Reading one table (or the file's catalogue) stops after this long.
    int msPerStatement = 5000;
};

enum class Verdict {
    Accepted,
    NotDataFile, // not SQLite, or no System table of exactly one row
    Newer,       // made by a newer Plumora: its data version is above this program's
    OverLimit,   // larger than the size limit, or too slow to read
};

struct Source {
    Verdict verdict = Verdict::NotDataFile;
    // Why the file is refused, as a clause for the user ("it is not a Plumora data file").
    QString reason;
    int version = -1;
    // What a restore leaves behind, each as "trigger NAME", "view NAME" and so on.
    QStringList leftOut;
};

// Examines `path` without changing it (nor its journal or WAL).
Source examine(const FileSchema& schema, const QString& path, const Limits& limits = {});

struct Outcome {
    bool ok = false;
    QString error;
    Source source;
};

// Writes into `target` (missing or an empty file) a data file of `schema` at its current
// version, holding the rows of `path`'s known tables. Rows the schema does not accept are
// skipped and listed in source.leftOut.
Outcome rebuild(const FileSchema& schema, const QString& path, const QString& target,
                const Limits& limits = {});

} // namespace RestoreRebuild
