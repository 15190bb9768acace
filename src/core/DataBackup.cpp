#include "core/DataBackup.h"

#include "base/Log.h"
#include "core/DataFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

namespace {

using DataBackup::Result;

// An empty file, readable by its owner only, next to `target`, for the copy that will
// replace it. SQLite's VACUUM INTO accepts an existing empty file and keeps its mode.
bool reservePart(QTemporaryFile& part, const QString& target) {
    part.setFileTemplate(target + QStringLiteral(".XXXXXX"));
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

// Moves `from` over `to` in one step; an existing `to` is replaced, never half-written.
bool moveOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    qCWarning(lcData) << "cannot move" << from << "to" << to << ":" << qt_error_string(errno);
    return false;
}

bool isDataFile(DataFile& db) {
    if (!db.isOpen())
        return false;
    return db.scalar(QStringLiteral("SELECT count(*) FROM System")).toLongLong() == 1;
}

} // namespace

namespace DataBackup {

QString backupPath(const QString& folder) {
    return folder + QLatin1Char('/') + QLatin1String(FileName);
}

Result backup(const QString& dataFile, const QString& folder) {
    const QString target = backupPath(folder);
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
    if (!moveOver(part.fileName(), target))
        return Result::Failed;
    part.setAutoRemove(false);
    return Result::Done;
}

Result checkRestoreSource(const QString& folder) {
    const QString source = backupPath(folder);
    if (!QFileInfo(source).isFile())
        return Result::NotFound;
    DataFile db(source);
    return isDataFile(db) ? Result::Done : Result::NotDataFile;
}

Result restore(const QString& folder, const QString& dataFile) {
    const QString source = backupPath(folder);
    if (!QFileInfo(source).isFile())
        return Result::NotFound;
    QTemporaryFile part;
    if (!reservePart(part, dataFile))
        return Result::Failed;
    {
        DataFile db(source);
        if (!isDataFile(db)) {
            qCWarning(lcData) << source << "is not a Plumora data file";
            return Result::NotDataFile;
        }
        if (!vacuumInto(db, part.fileName()))
            return Result::Failed;
    }
    {
        // What was checked above is the source; what replaces the data file is this copy.
        DataFile copy(part.fileName());
        if (!isDataFile(copy))
            return Result::NotDataFile;
    }

    const QString kept = dataFile + QLatin1String(BeforeRestoreSuffix);
    const bool hadData = QFileInfo::exists(dataFile);
    if (hadData && !moveOver(dataFile, kept))
        return Result::Failed;
    if (!moveOver(part.fileName(), dataFile)) {
        if (hadData)
            moveOver(kept, dataFile);
        return Result::Failed;
    }
    part.setAutoRemove(false);
    return Result::Done;
}

QString backupMessage(Result result, const QString& folder) {
    if (result == Result::Done)
        return QString::fromLatin1(BackupDoneText).arg(backupPath(folder));
    return QString::fromLatin1(BackupFailedText);
}

QString restoreMessage(Result result) {
    switch (result) {
    case Result::Done:
        return QString::fromLatin1(RestoreDoneText);
    case Result::NotFound:
        return QString::fromLatin1(NotFoundText);
    case Result::Failed:
    case Result::NotDataFile:
        break;
    }
    return QString::fromLatin1(RestoreFailedText);
}

} // namespace DataBackup
