// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DataBackup.h"

#include "base/Log.h"
#include "data/DataFile.h"
#include "data/RestoreRebuild.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

using DataBackup::Result;

// An empty file, readable by its owner only, next to `target`, for the copy that will
// replace it. SQLite accepts an existing empty file and keeps its mode.
bool reservePart(QTemporaryFile& part, const QString& target) {
    part.setFileTemplate(FileReplace::partTemplate(target));
    if (!part.open()) {
        qCWarning(lcData) << "cannot create a file beside" << target << ":" << part.errorString();
        return false;
    }
    part.close();
    return true;
}

// A consistent copy of the SQLite file `from` into the reserved empty file `to`.
bool vacuumInto(DataFile& from, const QString& to) {
    if (from.exec(QStringLiteral("VACUUM INTO ?"), {to}))
        return true;
    qCWarning(lcData) << "cannot copy the data file to" << to << ":" << from.lastError();
    return false;
}

Result resultOf(RestoreRebuild::Verdict verdict) {
    switch (verdict) {
    case RestoreRebuild::Verdict::Accepted:
        return Result::Done;
    case RestoreRebuild::Verdict::NotDataFile:
        return Result::NotDataFile;
    case RestoreRebuild::Verdict::Newer:
        return Result::Newer;
    case RestoreRebuild::Verdict::OverLimit:
        break;
    }
    return Result::OverLimit;
}

} // namespace

namespace DataBackup {

QString backupPath(const QString& folder) {
    return folder + QLatin1Char('/') + QLatin1String(FileName);
}

Result backup(const QString& dataFile, const QString& folder, const FileOps& ops) {
    const QString target = backupPath(folder);
    FileReplace::removeLeftovers(target);
    QTemporaryFile part;
    if (!reservePart(part, target))
        return Result::Failed;
    {
        DataFile db(dataFile);
        if (!db.isOpen()) {
            qCWarning(lcData) << "cannot open" << dataFile << "for a backup:" << db.lastError();
            return Result::Failed;
        }
        if (!vacuumInto(db, part.fileName()))
            return Result::Failed;
    }
    part.setAutoRemove(false);
    return FileReplace::replace(part.fileName(), target, QString(), nullptr, ops) ? Result::Done
                                                                                  : Result::Failed;
}

Result checkRestoreSource(const FileSchema& schema, const QString& folder,
                          RestoreDetails* details) {
    const QString source = backupPath(folder);
    if (!QFileInfo(source).isFile())
        return Result::NotFound;
    const RestoreRebuild::Source found = RestoreRebuild::examine(schema, source);
    if (details)
        *details = {found.reason, found.leftOut};
    return resultOf(found.verdict);
}

Result restore(const FileSchema& schema, const QString& folder, const QString& dataFile,
               RestoreDetails* details, const FileOps& ops) {
    const QString source = backupPath(folder);
    if (!QFileInfo(source).isFile())
        return Result::NotFound;
    QTemporaryFile part;
    if (!reservePart(part, dataFile))
        return Result::Failed;
    const RestoreRebuild::Outcome built = RestoreRebuild::rebuild(schema, source, part.fileName());
    if (details)
        *details = {built.ok ? QString() : built.error, built.source.leftOut};
    if (built.source.verdict != RestoreRebuild::Verdict::Accepted) {
        qCWarning(lcData) << source << "not restored:" << built.source.reason;
        return resultOf(built.source.verdict);
    }
    if (!built.ok) {
        qCWarning(lcData) << "cannot rebuild" << source << ":" << built.error;
        return Result::Failed;
    }
    part.setAutoRemove(false);
    QString error;
    if (!FileReplace::replace(part.fileName(), dataFile,
                              dataFile + QLatin1String(BeforeRestoreSuffix), &error, ops)) {
        if (details)
            details->reason = error;
        return Result::Failed;
    }
    if (!built.source.leftOut.isEmpty())
        qCWarning(lcData) << "restore left out" << built.source.leftOut;
    return Result::Done;
}

QString backupMessage(Result result, const QString& folder) {
    if (result == Result::Done)
        return QCoreApplication::translate("DataBackup", BackupDoneText).arg(backupPath(folder));
    return QCoreApplication::translate("DataBackup", BackupFailedText);
}

QString restoreMessage(Result result) {
    switch (result) {
    case Result::Done:
        return QCoreApplication::translate("DataBackup", RestoreDoneText);
    case Result::NotFound:
        return QCoreApplication::translate("DataBackup", NotFoundText);
    case Result::Failed:
    case Result::NotDataFile:
    case Result::Newer:
    case Result::OverLimit:
        break;
    }
    return QCoreApplication::translate("DataBackup", RestoreFailedText);
}

QString restoreMessage(Result result, const QString& folder, const RestoreDetails& details) {
    switch (result) {
    case Result::NotDataFile:
    case Result::Newer:
    case Result::OverLimit:
        return QCoreApplication::translate("DataBackup", RestoreRefusedText)
            .arg(backupPath(folder), details.reason);
    case Result::Failed:
        if (!details.reason.isEmpty())
            return restoreMessage(result) + QStringLiteral("\n") + details.reason;
        break;
    case Result::Done:
        if (!details.leftOut.isEmpty())
            return restoreMessage(result) + QStringLiteral("\n\n") +
                   QCoreApplication::translate("DataBackup", LeftOutText) + QStringLiteral("\n- ") +
                   details.leftOut.join(QStringLiteral("\n- "));
        break;
    case Result::NotFound:
        break;
    }
    return restoreMessage(result);
}

} // namespace DataBackup
