// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/FileSchema.h"

#include "base/Log.h"
#include "data/DataFile.h"
#include "data/DateText.h"

#include <QFile>
#include <QRegularExpression>

QString createIfMissing(const QString& create) {
    static const QRegularExpression head(QStringLiteral("^CREATE (TABLE|INDEX) "));
    QString sql = create;
    return sql.replace(head, QStringLiteral("CREATE \\1 IF NOT EXISTS "));
}

namespace {

int latest(const SchemaPart& part) {
    return part.steps.isEmpty() ? 0 : part.steps.lastKey();
}

bool setOwnedVersion(DataFile& db, const QString& owner, int version) {
    return db.exec(QStringLiteral("INSERT OR REPLACE INTO ToolVersions (Tool, Version) "
                                  "VALUES (?, ?)"),
                   {owner, version});
}

// Runs `sql` and records `owner` at `version`, all or nothing; returns an error text.
QString ownedStep(DataFile& db, const QStringList& sql, const QString& owner, int version) {
    Transaction t(db);
    bool ok = t.isActive();
    for (const QString& statement : sql)
        ok = ok && db.exec(statement);
    if (!ok || !setOwnedVersion(db, owner, version) || !t.commit())
        return db.lastError();
    return {};
}

// The owner's version in `db`; 0 when it has none, -1 when the file has no row for it.
int ownedVersion(DataFile& db, const QString& owner) {
    const QVariant v =
        db.scalar(QStringLiteral("SELECT Version FROM ToolVersions WHERE Tool = ?"), {owner});
    return v.isNull() ? -1 : v.toInt();
}

} // namespace

FileSchema::FileSchema(QList<SchemaPart> parts) : m_parts(std::move(parts)) {
    for (const SchemaPart& part : m_parts) {
        if (part.owner.isEmpty())
            m_version = std::max(m_version, latest(part));
    }
}

void FileSchema::add(SchemaPart part) {
    Q_ASSERT(!part.owner.isEmpty());
    for (const SchemaPart& known : std::as_const(m_parts)) {
        if (known.owner == part.owner)
            return;
    }
    m_parts.append(std::move(part));
}

QStringList FileSchema::createStatements() const {
    QStringList all;
    bool owned = false;
    for (const SchemaPart& part : m_parts) {
        all += part.create;
        owned = owned || !part.owner.isEmpty();
    }
    if (owned)
        all << QStringLiteral("CREATE TABLE ToolVersions (Tool TEXT PRIMARY KEY, "
                              "Version INTEGER NOT NULL)");
    return all;
}

QStringList FileSchema::namesOf(const QString& kind) const {
    static const QRegularExpression made(
        QStringLiteral("^CREATE (TABLE|INDEX) (?:IF NOT EXISTS )?(\\w+)"));
    QStringList names;
    for (const QString& sql : createStatements()) {
        const QRegularExpressionMatch m = made.match(sql);
        if (m.hasMatch() && m.captured(1) == kind)
            names << m.captured(2);
    }
    return names;
}

QStringList FileSchema::tableNames() const {
    return namesOf(QStringLiteral("TABLE"));
}

QStringList FileSchema::indexNames() const {
    return namesOf(QStringLiteral("INDEX"));
}

QStringList FileSchema::step(int version) const {
    QStringList all;
    for (const SchemaPart& part : m_parts) {
        if (part.owner.isEmpty())
            all += part.steps.value(version);
    }
    return all;
}

QStringList FileSchema::rowRepairs() const {
    QStringList all;
    for (const SchemaPart& part : m_parts)
        all += part.rowRepairs;
    return all;
}

QString FileSchema::stepOwnedParts(DataFile& db) const {
    bool checked = false;
    for (const SchemaPart& part : m_parts) {
        if (part.owner.isEmpty())
            continue;
        if (!std::exchange(checked, true) &&
            !db.exec(createIfMissing(QStringLiteral("CREATE TABLE ToolVersions (Tool TEXT "
                                                    "PRIMARY KEY, Version INTEGER NOT NULL)"))))
            return db.lastError();
        const int stored = ownedVersion(db, part.owner);
        const int current = latest(part);
        if (stored > current) {
            qCWarning(lcData) << "tables of" << part.owner << "are at version" << stored
                              << "beyond this program's" << current << "- left unchanged";
            continue;
        }
        QString error;
        if (stored < 0) // made fresh at the latest version: the steps are history for older files
            error = ownedStep(db, part.create, part.owner, current);
        for (int v = stored + 1; stored >= 0 && v <= current && error.isEmpty(); ++v)
            error = ownedStep(db, part.steps.value(v), part.owner, v);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

bool FileSchema::recordOwnedVersions(DataFile& db) const {
    for (const SchemaPart& part : m_parts) {
        if (!part.owner.isEmpty() && !setOwnedVersion(db, part.owner, latest(part)))
            return false;
    }
    return true;
}

QString FileSchema::createTemplate(const QString& path, const QDate& madeOn) const {
    QFile::remove(path);
    DataFile db(path, DataFile::Create);
    if (!db.isOpen())
        return db.lastError();
    Transaction t(db);
    if (!t.isActive())
        return db.lastError();
    for (const QString& sql : createStatements()) {
        if (!db.exec(sql))
            return db.lastError();
    }
    const QString day = DateText::fromDate(madeOn);
    if (!db.exec(QStringLiteral("INSERT INTO System (NotifyAgo, Lastupdate, WallLastDay)"
                                " VALUES (255, ?, ?)"),
                 {day, day}))
        return db.lastError();
    if (!recordOwnedVersions(db) || !db.setUserVersion(m_version) || !t.commit())
        return db.lastError();
    return {};
}
