// SPDX-License-Identifier: GPL-3.0-or-later
// Quick Notes with 200 notes of about 2 KB of RTF each. First the text alone: reading them
// into documents and writing them back. Then the window: opening it on a data file holding
// them (loading, building the cards, showing and painting), and saving all 200 after each
// was changed. Targets: 150 ms for the opening, 50 ms for the saving.
// Also a note of 160,000 colour runs: read in under 0.5 s, and from the Quick Notes button
// to its card on screen in under 1 s.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "notes/RtfReader.h"
#include "notes/RtfSamples.h"
#include "notes/RtfWriter.h"
#include "notes/ui/NoteCard.h"
#include "notes/ui/NotesPage.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Notes = 200;

QTextCharFormat look(int i) {
    QTextCharFormat f;
    f.setFontFamilies({i % 3 ? QStringLiteral("Arial") : QStringLiteral("Times New Roman")});
    f.setFontPointSize(i % 4 ? 9 : 12);
    f.setFontWeight(i % 5 == 1 ? QFont::Bold : QFont::Normal);
    f.setFontItalic(i % 7 == 2);
    f.setFontUnderline(i % 11 == 3);
    if (i % 6 == 4)
        f.setForeground(QColor(200, 0, 0));
    return f;
}

// A note of about 2 KB of RTF: short paragraphs of mixed runs, some beyond ASCII.
QString sampleNote(int n) {
    QTextDocument doc;
    QTextCursor c(&doc);
    int run = n;
    while (true) {
        for (int w = 0; w < 6; ++w, ++run)
            c.insertText(run % 9 == 0 ? QString::fromUtf8("Grüße, 你好 %1 ").arg(run)
                                      : QStringLiteral("note %1 text %2 ").arg(n).arg(run),
                         look(run));
        const QString rtf = RtfWriter::write(doc);
        if (rtf.size() >= 2048)
            return rtf;
        c.insertBlock();
    }
}

using Documents = std::vector<std::unique_ptr<QTextDocument>>;

Documents read(const std::vector<QString>& stored) {
    Documents docs;
    for (const QString& rtf : stored) {
        docs.push_back(std::make_unique<QTextDocument>());
        RtfReader::read(rtf, *docs.back());
    }
    return docs;
}

// What was read writes back the same.
bool writesBackTheSame(const Documents& docs, const std::vector<QString>& stored) {
    for (size_t n = 0; n < stored.size(); ++n)
        if (RtfWriter::write(*docs[n]) != stored[n])
            return false;
    return true;
}

// The 200 notes' RTF, and the documents read from it.
struct Texts {
    std::vector<QString> stored;
    Documents docs;
    bool roundTrips;

    Texts() {
        for (int n = 0; n < Notes; ++n)
            stored.push_back(sampleNote(n));
        docs = read(stored);
        roundTrips = writesBackTheSame(docs, stored);
    }

    double averageKiB() const {
        qsizetype bytes = 0;
        for (const QString& rtf : stored)
            bytes += rtf.size();
        return double(bytes) / 1024.0 / Notes;
    }
};

Texts& texts() {
    static Texts& s = Bench::keep(std::make_unique<Texts>());
    return s;
}

void read200(benchmark::State& state) {
    const Texts& t = texts();
    Documents docs;
    for (auto _ : state) {
        docs.clear();
        docs = read(t.stored);
    }
    if (!writesBackTheSame(docs, t.stored))
        state.SkipWithError("what was read does not write back the same");
    state.counters["rtf_kib_per_note"] = t.averageKiB();
}

void write200(benchmark::State& state) {
    const Texts& t = texts();
    if (!t.roundTrips) {
        state.SkipWithError("what was read does not write back the same");
        return;
    }
    for (auto _ : state)
        for (const auto& doc : t.docs) {
            QString rtf = RtfWriter::write(*doc);
            benchmark::DoNotOptimize(rtf);
        }
}

// A data file holding the 200 notes, and the program's context over it.
struct NotesFile {
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    AppContext context{desktop.context(AppPaths(dir.path(), dir.path()), clock)};
    bool ready = false;

    NotesFile() {
        if (!programSchema().createTemplate(context.paths.dataFile(), clock.today()).isEmpty())
            return;
        const std::vector<QString>& notes = texts().stored;
        DataFile db(context.paths.dataFile());
        Transaction t(db);
        for (int n = 0; n < Notes; ++n)
            db.exec(QStringLiteral("INSERT INTO QNotes (nLeft, nTop, Content, ZOrder, CDate) "
                                   "VALUES (?, ?, ?, ?, '2026-03-01')"),
                    {(n % 20) * 600, 400 + (n / 20) * 500, notes[size_t(n)], Notes - n});
        ready = t.commit();
    }
};

std::unique_ptr<NotesPage> openWindow(AppContext& context) {
    auto page = std::make_unique<NotesPage>(context);
    page->resize(1280, 800);
    page->show();
    page->activated();
    page->repaint();
    return page;
}

// Times each opening of the window, and what `shown` does after it; the last window stays.
std::unique_ptr<NotesPage> timeOpenings(benchmark::State& state, AppContext& context,
                                        const std::function<void(NotesPage&)>& shown = {}) {
    std::unique_ptr<NotesPage> page;
    for (auto _ : state) {
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
        page = openWindow(context);
        if (shown)
            shown(*page);
    }
    return page;
}

void open200(benchmark::State& state) {
    static NotesFile& file = Bench::keep(std::make_unique<NotesFile>());
    if (!file.ready) {
        state.SkipWithError("could not write the 200 notes");
        return;
    }
    const std::unique_ptr<NotesPage> page = timeOpenings(state, file.context);
    if (!page || !page->card(Notes - 1) || page->card(Notes))
        state.SkipWithError("the window did not show 200 cards");
}

// Its own file, as every save changes the notes.
void save200(benchmark::State& state) {
    static NotesFile& file = Bench::keep(std::make_unique<NotesFile>());
    if (!file.ready) {
        state.SkipWithError("could not write the 200 notes");
        return;
    }
    const std::unique_ptr<NotesPage> page = openWindow(file.context);
    if (!page->card(Notes - 1)) {
        state.SkipWithError("the window did not show 200 cards");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        for (int n = 0; n < Notes; ++n) {
            QTextCursor c(page->card(n)->text()->document());
            c.insertText(QStringLiteral("x"));
        }
        state.ResumeTiming();
        page->saveNotes();
    }
}

// The time grows in proportion to the runs: a quarter of them takes a quarter of the time.
void readColourRuns(benchmark::State& state) {
    const int runs = int(state.range(0));
    const QString rtf = colourRuns(runs);
    {
        // What the first document of the process sets up once (fonts) is not counted.
        QTextDocument first;
        RtfReader::read(colourRuns(10), first);
    }
    int characters = 0;
    for (auto _ : state) {
        QTextDocument doc;
        RtfReader::read(rtf, doc);
        characters = doc.characterCount();
    }
    if (characters != runs + 1)
        state.SkipWithError("the note was not read whole");
}

// One note of `runs` colour runs in a data file of its own.
struct ColourNoteFile : NotesFile {
    explicit ColourNoteFile(int runs) {
        DataFile db(context.paths.dataFile());
        ready = ready && db.exec(QStringLiteral("DELETE FROM QNotes")) &&
                db.exec(QStringLiteral("INSERT INTO QNotes (nLeft, nTop, Content, ZOrder, CDate) "
                                       "VALUES (600, 600, ?, 1, '2026-03-01')"),
                        {colourRuns(runs)});
    }
};

// From the Quick Notes button to the card on screen: the page builds the cards and shows
// them, reads the note (off the window's thread) into its card, the spelling helper attaches
// to the focused note, and the card is laid out and painted.
void openColourNote(benchmark::State& state) {
    const int runs = int(state.range(0));
    ColourNoteFile file(runs);
    if (!file.ready) {
        state.SkipWithError("could not write the note");
        return;
    }
    {
        // What the first window of the process sets up once (fonts, dictionary) is not counted.
        ColourNoteFile small(10);
        const std::unique_ptr<NotesPage> first = openWindow(small.context);
        QCoreApplication::processEvents();
    }
    const std::unique_ptr<NotesPage> page = timeOpenings(state, file.context, [](NotesPage& p) {
        if (p.opening(0)) {
            QEventLoop reading;
            QObject::connect(&p, &NotesPage::noteOpened, &reading, &QEventLoop::quit);
            reading.exec();
        }
        QCoreApplication::processEvents(); // the spelling helper attaches
        p.repaint();
    });
    if (!page || !page->card(0) || page->card(0)->text()->document()->characterCount() != runs + 1)
        state.SkipWithError("the note was not shown whole");
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("notes_read_200", read200), 10, 2);
    Bench::standard(benchmark::RegisterBenchmark("notes_write_200", write200), 10, 2);
    Bench::standard(benchmark::RegisterBenchmark("notes_open_200", open200), 10, 2);
    Bench::standard(benchmark::RegisterBenchmark("notes_save_200", save200), 10, 2);
    Bench::standard(benchmark::RegisterBenchmark("rtf_read_40k_runs", readColourRuns), 3, 1)
        ->Arg(40000);
    Bench::standard(benchmark::RegisterBenchmark("rtf_read_160k_runs", readColourRuns), 3, 1)
        ->Arg(160000);
    Bench::standard(benchmark::RegisterBenchmark("notes_open_40k_runs", openColourNote), 3, 1)
        ->Arg(40000);
    Bench::standard(benchmark::RegisterBenchmark("notes_open_160k_runs", openColourNote), 3, 1)
        ->Arg(160000);
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QApplication>(argc, argv);
}
