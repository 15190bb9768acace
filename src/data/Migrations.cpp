// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Migrations.h"

#include "base/Log.h"
#include "data/DataFile.h"
#include "data/FileSchema.h"

namespace Migrations {

namespace {

Outcome runShared(DataFile& db, const FileSchema& schema) {
    const int version = db.userVersion();
    const int current = schema.currentVersion();
    if (version < 0)
        return Outcome::Failed;
    if (version > current) {
        qCWarning(lcData) << "data file version" << version << "is newer than this program's"
                          << current << "- left unchanged";
        return Outcome::NewerThanProgram;
    }
    if (version == current)
        return Outcome::UpToDate;
    for (int v = version + 1; v <= current; ++v) {
        Transaction t(db);
        bool ok = t.isActive();
        for (const QString& sql : schema.step(v)) {
            if (ok)
                ok = db.exec(sql);
        }
        if (!ok || !db.setUserVersion(v) || !t.commit()) {
            qCWarning(lcData) << "migration to version" << v << "failed:" << db.lastError();
            return Outcome::Failed;
        }
    }
    return Outcome::Migrated;
}

} // namespace

Outcome run(DataFile& db, const FileSchema& schema) {
    const Outcome shared = runShared(db, schema);
    if (shared == Outcome::Failed || shared == Outcome::NewerThanProgram)
        return shared;
    const QString error = schema.stepOwnedParts(db);
    if (!error.isEmpty()) {
        qCWarning(lcData) << "tables of an added tool not brought up to date:" << error;
        return Outcome::Failed;
    }
    return shared;
}

} // namespace Migrations
