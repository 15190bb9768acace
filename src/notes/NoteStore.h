// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataStore.h"
#include "notes/NoteRecord.h"

#include <QList>
#include <QString>

#include <optional>

// Reads and writes the QNotes table of one data file. Each call opens the file, runs its
// statements and closes it again; a call that changes several rows does so in one
// transaction, so a failure leaves them all as they were. A failing call leaves the reason
// in lastError() and a line in the notes' log.
class NoteStore : public DataStore {
public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    explicit NoteStore(QString dataFile, ChangeHub* changes = nullptr);

    // Every note, back to front: ZOrder descending, ties in the order the rows were added.
    // False on failure, with `rows` empty.
    bool load(QList<NoteRecord>& rows);
    // One note, or nothing when it is gone or cannot be read.
    std::optional<NoteRecord> read(qint64 id);

    // A new row carrying only its creation date; every other column takes the table's
    // default. Returns the row as stored (id 0 on failure).
    NoteRecord add(const QDate& created);
    bool remove(qint64 id);

    // Columns of one note to write; what is left empty stays as stored.
    struct Write {
        qint64 id = 0;
        std::optional<int> zOrder;
        std::optional<QString> content;
        std::optional<QRect> geometry;
    };
    bool write(const QList<Write>& writes);

    // Frequency and SchDT ("YYYY-MM-DD HH:MM", null for an invalid `due`).
    bool writeSchedule(qint64 id, int frequency, const QDateTime& due);

private:
};
