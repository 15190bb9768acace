// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Plumora's data file holds tables and indexes only. Triggers and views found in it were put
// there by something else (a file restored by hand, another program) and could run their own
// SQL on Plumora's writes, so start-up drops them, after keeping a copy of the file as it was.
namespace SchemaCleanup {

inline constexpr char KeptSuffix[] = ".before-cleanup";

struct Result {
    QStringList dropped; // "trigger NAME", "view NAME"
    QString keptCopy;    // the copy made before dropping; empty when nothing was dropped
    QString error;       // why the cleanup could not be done; the file is then unchanged
};

// Looks at `dataFile` and, when it holds triggers or views, copies it to
// dataFile + ".before-cleanup" and drops them in one transaction.
Result run(const QString& dataFile);

// What the user is told once after a cleanup.
QString message(const Result& result);

} // namespace SchemaCleanup
