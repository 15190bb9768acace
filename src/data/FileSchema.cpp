// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/FileSchema.h"

#include "data/DataFile.h"
#include "data/DateText.h"

#include <QFile>
#include <QRegularExpression>

QString createIfMissing(const QString& create) {
    static const QRegularExpression head(QStringLiteral("^CREATE (TABLE|INDEX) "));
    QString sql = create;
    return sql.replace(head, QStringLiteral("CREATE \\1 IF NOT EXISTS "));
}

FileSchema::FileSchema(QList<SchemaPart> parts) : m_parts(std::move(parts)) {
    for (const SchemaPart& part : m_parts) {
        if (!part.steps.isEmpty())
            m_version = std::max(m_version, part.steps.lastKey());
    }
}

QStringList FileSchema::createStatements() const {
    QStringList all;
    for (const SchemaPart& part : m_parts)
        all += part.create;
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
    for (const SchemaPart& part : m_parts)
        all += part.steps.value(version);
    return all;
}

QStringList FileSchema::rowRepairs() const {
    QStringList all;
    for (const SchemaPart& part : m_parts)
        all += part.rowRepairs;
    return all;
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
    if (!db.setUserVersion(m_version) || !t.commit())
        return db.lastError();
    return {};
}
