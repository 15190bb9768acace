// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/FileSchema.h"

#include "base/Log.h"
#include "data/DataFile.h"
#include "data/DateText.h"

#include <QFile>

namespace {

const QLatin1String IfMissing("IF NOT EXISTS ");

// The start of a statement that makes a table or an index, up to the name: "CREATE TABLE ".
// Plain string work: the data file opens at every start, where a regular expression would
// cost its engine's memory.
QLatin1String createHead(const QString& sql) {
    for (const QLatin1String head :
         {QLatin1String("CREATE TABLE "), QLatin1String("CREATE INDEX ")})
        if (sql.startsWith(head))
            return head;
    return {};
}

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

QString createIfMissing(const QString& create) {
    const QLatin1String head = createHead(create);
    if (head.isEmpty() || QStringView(create).mid(head.size()).startsWith(IfMissing))
        return create;
    return head + QLatin1String("IF NOT EXISTS ") + QStringView(create).mid(head.size());
}

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
    QStringList names;
    for (const QString& sql : createStatements()) {
        const QLatin1String head = createHead(sql);
        if (head.isEmpty() || head.mid(7).chopped(1) != kind)
            continue;
        QStringView rest = QStringView(sql).mid(head.size());
        if (rest.startsWith(IfMissing))
            rest = rest.mid(IfMissing.size());
        qsizetype end = 0;
        while (end < rest.size() && (rest[end].isLetterOrNumber() || rest[end] == u'_'))
            ++end;
        if (end > 0)
            names << rest.left(end).toString();
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
