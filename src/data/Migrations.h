// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class DataFile;
class FileSchema;

// The data file's schema version lives in PRAGMA user_version. A file made before versions
// were kept reads 0. Each step brings a file one version up in its own transaction, so an
// interrupted start-up leaves a file of the previous version, never half of a step.
namespace Migrations {

enum class Outcome {
    UpToDate,
    Migrated,
    // Made by a newer program: left exactly as it is (never downgraded) and only read.
    NewerThanProgram,
    Failed,
};

// Brings an open data file up to the schema's current version.
Outcome run(DataFile& db, const FileSchema& schema);

} // namespace Migrations
