// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class DataFile;

// The data file's schema version lives in PRAGMA user_version. A file made before versions
// were kept reads 0. Each step brings a file one version up in its own transaction, so an
// interrupted start-up leaves a file of the previous version, never half of a step.
namespace Migrations {

// The version this program writes; the template is made at this version.
int currentVersion();

enum class Outcome {
    UpToDate,
    Migrated,
    // Made by a newer program: left exactly as it is (never downgraded) and only read.
    NewerThanProgram,
    Failed,
};

// Brings an open data file up to currentVersion().
Outcome run(DataFile& db);

// Statements that give rows copied from an older file what the steps would have given
// them (a restore copies rows into a file of today's shape): events without a UID get one.
QStringList rowRepairs();

} // namespace Migrations
