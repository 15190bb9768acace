// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SchemaCleanup.h"

#include "base/FileReplace.h"
#include "base/Log.h"
#include "data/DataFile.h"

#include <QCoreApplication>
#include <QTemporaryFile>

namespace SchemaCleanup {

namespace {

QString quoted(const QString& identifier) {
    QString q = identifier;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// A consistent copy of the open file beside it, put in place whole.
bool keepCopy(DataFile& db, const QString& kept, QString* error) {
    QTemporaryFile part(FileReplace::partTemplate(kept));
    if (!part.open()) {
        *error = part.errorString();
        return false;
    }
    part.close();
    if (!db.exec(QStringLiteral("VACUUM INTO ?"), {part.fileName()})) {
        *error = db.lastError();
        return false;
    }
    part.setAutoRemove(false);
    return FileReplace::replace(part.fileName(), kept, QString(), error);
}

} // namespace

Result run(const QString& dataFile) {
    Result result;
    DataFile db(dataFile);
    if (!db.isOpen())
        return result;
    QStringList statements;
    db.forEach(
        QStringLiteral("SELECT type, name FROM sqlite_master"
                       " WHERE type IN ('trigger', 'view') ORDER BY type, name"),
        {}, [&](DataFile::Row row) {
            const QString type = row.value(0).toString();
            const QString name = row.value(1).toString();
            result.dropped << type + QLatin1Char(' ') + name;
            statements << QStringLiteral("DROP %1 IF EXISTS %2").arg(type.toUpper(), quoted(name));
            return true;
        });
    if (statements.isEmpty())
        return result;
    const QString kept = dataFile + QLatin1String(KeptSuffix);
    if (!keepCopy(db, kept, &result.error)) {
        qCWarning(lcData) << "foreign triggers and views kept: no copy could be made:"
                          << result.error;
        return result;
    }
    Transaction t(db);
    bool ok = t.isActive();
    for (const QString& sql : std::as_const(statements))
        ok = ok && db.exec(sql);
    if (!ok || !t.commit()) {
        result.error = db.lastError();
        qCWarning(lcData) << "foreign triggers and views could not be dropped:" << result.error;
        return result;
    }
    result.keptCopy = kept;
    qCWarning(lcData) << "dropped from the data file:" << result.dropped << "- the file before"
                      << "is kept as" << kept;
    return result;
}

QString message(const Result& result) {
    if (result.keptCopy.isEmpty())
        return {};
    return QCoreApplication::translate(
               "SchemaCleanup",
               "Plumora's data file held SQL that Plumora did not put there. It "
               "has been removed, so it cannot act on your data:\n- %1\n\nThe file "
               "as it was is kept as %2.")
        .arg(result.dropped.join(QStringLiteral("\n- ")), result.keptCopy);
}

} // namespace SchemaCleanup
