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

// Brings an open data file up to the schema's current version, then the tables of each
// part that names its owner up to that part's (FileSchema::stepOwnedParts). A failure
// there leaves the other owners' tables as they are and reports Failed; a newer file is
// left alone.
Outcome run(DataFile& db, const FileSchema& schema);

} // namespace Migrations
