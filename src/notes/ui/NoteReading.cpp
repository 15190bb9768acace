// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ui/NoteReading.h"

#include "notes/NoteGeometry.h"
#include "notes/NoteToolbar.h"
#include "notes/NotesLog.h"
#include "notes/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QThreadPool>

namespace {

// Stands in for a read document's layout until the document is in its box: the box sets
// its options and width, each of which would lay the whole text out again.
class NoLayout final : public QAbstractTextDocumentLayout {
public:
    explicit NoLayout(QTextDocument* doc) : QAbstractTextDocumentLayout(doc) {}
    void draw(QPainter*, const PaintContext&) override {}
    int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return {}; }
    QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
    QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }

protected:
    void documentChanged(int, int, int) override {}
};

// A document read on another thread, deleted unless it was handed over.
struct ReadDocument {
    QTextDocument* doc = nullptr;
    ~ReadDocument() { delete doc; }
};

} // namespace

NoteReading::NoteReading(QObject* parent) : QObject(parent) {}

NoteReading::~NoteReading() {
    waitForDone();
}

bool NoteReading::read(const NoteRecord& row, QTextDocument& doc) {
    // An installed family: the page has asked for it on its own thread already.
    doc.setDefaultFont(NoteToolbar::defaultFont());
    if (!row.content.isEmpty() && !RtfReader::read(row.content, doc))
        qCWarning(lcNotes) << "note" << row.id << "was too large to read in full";
    return NoteGeometry::hasOverlongWord(doc.toPlainText());
}

void NoteReading::readAside(int index, const NoteRecord& row) {
    m_opening.insert(index);
    if (!m_readers) {
        m_readers = std::make_unique<QThreadPool>();
        m_readers->setMaxThreadCount(1);
    }
    const auto done = std::make_shared<ReadDocument>();
    m_readers->start([this, done, row, index, generation = m_generation, gui = thread()] {
        Q_EMIT reading();
        auto* doc = new QTextDocument;
        doc->setDocumentLayout(new NoLayout(doc));
        const bool overlong = read(row, *doc);
        doc->moveToThread(gui);
        done->doc = doc;
        // This object waits for the thread before it goes, so it is there to post to.
        QMetaObject::invokeMethod(
            this,
            [this, done, index, generation, overlong] {
                if (generation != m_generation)
                    return; // the document goes with `done`
                m_opening.remove(index);
                Q_EMIT documentRead(index, std::exchange(done->doc, nullptr), overlong);
            },
            Qt::QueuedConnection);
    });
}

void NoteReading::forget() {
    m_opening.clear();
    ++m_generation;
}

void NoteReading::waitForDone() {
    if (m_readers)
        m_readers->waitForDone();
}
