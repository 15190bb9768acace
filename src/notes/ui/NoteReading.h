// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteRecord.h"

#include <QObject>
#include <QSet>

#include <memory>

class QTextDocument;
class QThreadPool;

// Reads notes' stored text into documents for the Quick Notes page: at once, or for a long
// note on a thread of its own, one note at a time, handing the document back on the page's
// thread. A reading started before forget() is dropped when it comes.
class NoteReading : public QObject {
    Q_OBJECT
public:
    explicit NoteReading(QObject* parent = nullptr);
    // Waits for a reading under way.
    ~NoteReading() override;

    // Reads `row` into `doc` here; true when the text holds an overlong word.
    static bool read(const NoteRecord& row, QTextDocument& doc);

    // Reads `row` off this thread for card `index`; documentRead() follows.
    void readAside(int index, const NoteRecord& row);
    // Whether card `index` still waits for its text.
    bool opening(int index) const { return m_opening.contains(index); }
    // The cards were built again: readings under way are dropped.
    void forget();
    // Returns once no reading is under way.
    void waitForDone();

Q_SIGNALS:
    // Emitted on the reading thread before a note is read; a direct connection runs there
    // and may hold the reading.
    void reading();
    // Card `index`'s text, read aside: the receiver takes the document, or deletes it.
    void documentRead(int index, QTextDocument* doc, bool overlong);

private:
    std::unique_ptr<QThreadPool> m_readers;
    int m_generation = 0; // counts forget(): a reading for cards since replaced is dropped
    QSet<int> m_opening;
};
