// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class DataFile;

// One owner's tables in the data file (the settings', or a tool's, given with its store).
// `create` makes them as a fresh file has them. `steps` brought files made before to that
// shape, keyed by the version each brings a file to. An old step is never edited, since
// files in the field were made by it.
// The program's own parts (no `owner`) count their versions in the file's one sequence
// (PRAGMA user_version), shared by all of them: a new step takes the next number of the
// whole program. A part that names its owner (a tool added beside them) counts from 1 in
// its own row of the ToolVersions table, so such tools number their steps without knowing
// of each other; a file that lacks its tables gets them made at its latest version.
struct SchemaPart {
    QString owner;
    // "CREATE TABLE name (...)" and "CREATE INDEX name ON ..." statements.
    QStringList create;
    QMap<int, QStringList> steps;
    // What the steps would give rows copied from an older file (a restore copies rows into
    // a file of today's shape).
    QStringList rowRepairs;
};

// `create` as the step that first made its table or index runs it ("CREATE TABLE IF NOT
// EXISTS ..."): a file that has it already keeps it. Only for a table or index still as that
// step made it; one that gained columns since builds its step from the older text.
QString createIfMissing(const QString& create);

// The data file's schema: the settings' part and the tools' parts, in the tools' order.
// The program builds it once from its tool list; data.src, the template every new data
// file is copied from, is made from the same list at build time, so the two never drift.
class FileSchema {
public:
    explicit FileSchema(QList<SchemaPart> parts);

    // Adds a part that names its owner (a tool added after the program's own); one already
    // known by that owner is kept as it is.
    void add(SchemaPart part);

    // Every part's CREATE statements, in order; with the ToolVersions table when a part
    // names its owner.
    QStringList createStatements() const;
    // The tables and indexes those statements make.
    QStringList tableNames() const;
    QStringList indexNames() const;
    // The version this program writes: the highest step of any part. The template is made
    // at this version.
    int currentVersion() const { return m_version; }
    // The statements that bring a file from `version` - 1 to `version`, every part's in order.
    QStringList step(int version) const;
    QStringList rowRepairs() const;

    // Brings the tables of every part that names its owner to that part's latest version:
    // makes them when the owner has no version yet, else runs the steps the file lacks,
    // each in its own transaction with its version. Returns an error text, empty on success.
    QString stepOwnedParts(DataFile& db) const;
    // Records every owned part at its latest version, as a file made from createStatements()
    // has them (a template, a restored file).
    bool recordOwnedVersions(DataFile& db) const;

    // Writes a fresh template: every table, and one System row whose NotifyAgo is 255 (the
    // "never started" mark) with a value in every column the background tick reads.
    // `madeOn` becomes Lastupdate and WallLastDay. Returns an error text, empty on success.
    QString createTemplate(const QString& path, const QDate& madeOn) const;

private:
    QStringList namesOf(const QString& kind) const;

    QList<SchemaPart> m_parts;
    int m_version = 0;
};
