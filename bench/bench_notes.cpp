// The notes' text costs: reading 200 notes of about 2 KB of RTF each into documents, as
// opening Quick Notes does, and writing them all back, as saving does. Prints both; the
// targets are 150 ms for the whole opening and 50 ms for the whole saving, so the text
// alone must stay well below them.
#include "notes/RtfReader.h"
#include "notes/RtfWriter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
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

template <typename F> void measure(const char* what, double target, F&& pass) {
    QElapsedTimer timer;
    qint64 total = 0;
    qint64 worst = 0;
    for (int i = 0; i < Passes; ++i) {
        timer.start();
        pass();
        const qint64 ns = timer.nsecsElapsed();
        total += ns;
        worst = std::max(worst, ns);
    }
    std::printf("%s: %.2f ms mean, %.2f ms worst (target < %.0f ms)\n", what, total / 1e6 / Passes,
                worst / 1e6, target);
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
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
    return 0;
}
