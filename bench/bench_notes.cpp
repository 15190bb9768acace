// SPDX-License-Identifier: GPL-3.0-or-later
// Quick Notes with 200 notes of about 2 KB of RTF each. First the text alone: reading them
// into documents and writing them back. Then the window: opening it on a data file holding
// them (loading, building the cards, showing and painting), and saving all 200 after each
// was changed. Targets: 150 ms for the opening, 50 ms for the saving.
// Also a note of 160,000 colour runs: read in under 0.5 s.
#include "BenchMain.h"
#include "core/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/TestSchema.h"
#include "notes/RtfReader.h"
#include "notes/RtfWriter.h"
#include "notes/ui/NoteCard.h"
#include "notes/ui/NotesPage.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

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
        if (!testSchema().createTemplate(context.paths.dataFile(), clock.today()).isEmpty())
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

void open200(benchmark::State& state) {
    static NotesFile& file = Bench::keep(std::make_unique<NotesFile>());
    if (!file.ready) {
        state.SkipWithError("could not write the 200 notes");
        return;
    }
    std::unique_ptr<NotesPage> page;
    for (auto _ : state) {
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
        page = openWindow(file.context);
    }
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

// A note of `runs` runs, each in a colour of its own (about 3 MB of RTF for 160,000).
QString manyColours(int runs) {
    const int Runs = runs;
    QString rtf = QStringLiteral("{\\rtf1\\ansi{\\colortbl;");
    for (int i = 1; i <= Runs; ++i)
        rtf += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(i % 256).arg(i / 256 % 256).arg(7);
    rtf += QLatin1Char('}');
    for (int i = 1; i <= Runs; ++i)
        rtf += QStringLiteral("\\cf%1 x").arg(i);
    return rtf + QLatin1Char('}');
}

// The time grows in proportion to the runs: a quarter of them takes a quarter of the time.
void readColourRuns(benchmark::State& state) {
    const int runs = int(state.range(0));
    const QString rtf = manyColours(runs);
    {
        // What the first document of the process sets up once (fonts) is not counted.
        QTextDocument first;
        RtfReader::read(manyColours(10), first);
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

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("notes_read_200", read200), 10, 2);
    Bench::standard(benchmark::RegisterBenchmark("notes_write_200", write200), 10, 2);
    Bench::standard(benchmark::RegisterBenchmark("notes_open_200", open200), 10, 2);
    Bench::standard(benchmark::RegisterBenchmark("notes_save_200", save200), 10, 2);
    Bench::standard(benchmark::RegisterBenchmark("rtf_read_40k_runs", readColourRuns), 3, 1)
        ->Arg(40000);
    Bench::standard(benchmark::RegisterBenchmark("rtf_read_160k_runs", readColourRuns), 3, 1)
        ->Arg(160000);
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QApplication>(argc, argv);
}
