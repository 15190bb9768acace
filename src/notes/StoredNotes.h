// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteRecord.h"
#include "notes/NoteStore.h"

#include <QHash>
#include <QList>

// What the Quick Notes page last read from QNotes or wrote to it, note by note, so that a
// change announced for the table can be told apart from the page's own writes: only rows
// that differ from these were written by someone else. Texts are kept as hashes.
class StoredNotes {
public:
    // The rows as loaded: they replace everything known.
    void load(const QList<NoteRecord>& rows);
    void added(const NoteRecord& row);
    void removed(qint64 id);
    // `writes` went to the data file.
    void written(const QList<NoteStore::Write>& writes);
    void scheduled(qint64 id, int frequency, const QDateTime& due);

    // Whether `rows`, as the table holds them now, differ from what the page knows: a row
    // added, gone, or with another text, depth, place or alarm.
    bool differs(const QList<NoteRecord>& rows) const;

private:
    struct Known {
        size_t content = 0;
        bool hasContent = false; // a null text is not an empty one
        int zOrder = 0;
        QRect geometry;
        int frequency = 0;
        QDateTime due;
        bool operator==(const Known&) const = default;
    };
    static Known knownOf(const NoteRecord& row);
    static size_t hashOf(const QString& content) { return qHash(content); }

    QHash<qint64, Known> m_rows;
};
