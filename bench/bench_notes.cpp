// Quick Notes with 200 notes of about 2 KB of RTF each. First the text alone: reading them
// into documents and writing them back. Then the window: opening it on a data file holding
// them (loading, building the cards, showing and painting), and saving all 200 after each
// was changed. Targets: 150 ms for the opening, 50 ms for the saving.
#include "BenchTiming.h"
#include "core/DataFile.h"
#include "core/Schema.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "notes/RtfReader.h"
#include "notes/RtfWriter.h"
#include "notes/ui/NoteCard.h"
#include "notes/ui/QNotes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Notes = 200;
constexpr int Passes = 20;

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

// Wall time and processor time; `prepare` runs untimed before each pass. `name`, when
// given, also goes out as a BENCH line.
void measure(
    const char* what, double target, const std::function<void()>& pass,
    const std::function<void()>& prepare = [] {}, const char* name = nullptr) {
    const Bench::Timing t = Bench::timeMs(Passes, pass, prepare);
    std::printf("%s: %.2f ms mean, %.2f ms best, %.2f ms worst, %.2f ms processor (target < "
                "%.0f ms)\n",
                what, t.mean, t.best, t.worst, t.cpu, target);
    if (name)
        Bench::line(name, t);
}

} // namespace

// The window over a data file holding `notes`.
void window(const std::vector<QString>& notes) {
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
    Schema::createTemplate(context.paths.dataFile(), clock.today());
    {
        DataFile db(context.paths.dataFile());
        Transaction t(db);
        for (int n = 0; n < Notes; ++n)
            db.exec(QStringLiteral("INSERT INTO QNotes (nLeft, nTop, Content, ZOrder, CDate) "
                                   "VALUES (?, ?, ?, ?, '2026-03-01')"),
                    {(n % 20) * 600, 400 + (n / 20) * 500, notes[size_t(n)], Notes - n});
        t.commit();
    }
    std::unique_ptr<QNotes> page;
    measure(
        "opening the window on 200 notes", 150,
        [&] {
            page = std::make_unique<QNotes>(context);
            page->resize(1280, 800);
            page->show();
            page->activated();
            page->repaint();
        },
        [&] { page.reset(); }, "notes_open_200");
    measure(
        "saving 200 changed notes", 50, [&] { page->saveNotes(); },
        [&] {
            for (int n = 0; n < Notes; ++n) {
                QTextCursor c(page->card(n)->text()->document());
                c.insertText(QStringLiteral("x"));
            }
        });
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    std::vector<QString> stored;
    qsizetype bytes = 0;
    for (int n = 0; n < Notes; ++n) {
        stored.push_back(sampleNote(n));
        bytes += stored.back().size();
    }
    std::printf("%d notes, %.1f KB of RTF on average\n", Notes, bytes / 1024.0 / Notes);

    std::vector<std::unique_ptr<QTextDocument>> docs;
    measure("reading 200 notes", 150, [&] {
        docs.clear();
        for (const QString& rtf : stored) {
            docs.push_back(std::make_unique<QTextDocument>());
            RtfReader::read(rtf, *docs.back());
        }
    });
    for (int n = 0; n < Notes; ++n)
        if (RtfWriter::write(*docs[size_t(n)]) != stored[size_t(n)])
            return 1; // what was read does not write back the same
    measure("writing 200 notes", 50, [&] {
        for (const auto& doc : docs)
            stored[0] = RtfWriter::write(*doc);
    });
    stored[0] = RtfWriter::write(*docs[0]);
    window(stored);
    return 0;
}
