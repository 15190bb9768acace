// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/FakeClock.h"
#include "mock/FakeTickTimer.h"
#include "notes/NoteAutosave.h"
#include "notes/NoteSearch.h"
#include "notes/NoteToolbar.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using NoteToolbar::Toggle;

namespace {

QTextCharFormat look(const QString& family, qreal points, bool bold = false, bool italic = false,
                     bool underline = false) {
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(points);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setFontUnderline(underline);
    return f;
}

bool has(const QTextCharFormat& f, Toggle t) {
    switch (t) {
    case Toggle::Bold:
        return f.fontWeight() > QFont::Medium;
    case Toggle::Italic:
        return f.fontItalic();
    case Toggle::Underline:
        return f.fontUnderline();
    }
    return false;
}

// An autosave on a fake clock, counting the saves and when they happened.
struct Saver {
    FakeClock clock;
    FakeTickTimer timer{clock};
    QList<qint64> savedAt;
    bool refuse = false;
    NoteAutosave autosave{clock, timer, [this] {
                              if (refuse)
                                  return false;
                              savedAt.append(clock.monotonicMs());
                              return true;
                          }};
    Saver() {
        timer.onTimeout = [this] { autosave.timeout(); };
    }
    void typeAt(qint64 ms) {
        timer.runUntil(ms);
        autosave.changed();
    }
};

} // namespace

class TestNoteEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void togglesActFromTheFirstCharacter_data() {
        QTest::addColumn<int>("toggle");
        QTest::addColumn<bool>("firstHasIt");
        const char* const names[] = {"bold", "italic", "underline"};
        for (Toggle t : {Toggle::Bold, Toggle::Italic, Toggle::Underline}) {
            QTest::addRow("%s, first has it", names[int(t)]) << int(t) << true;
            QTest::addRow("%s, first has not", names[int(t)]) << int(t) << false;
        }
    }

    void togglesActFromTheFirstCharacter() {
        QFETCH(int, toggle);
        QFETCH(bool, firstHasIt);
        const Toggle t = Toggle(toggle);
        const bool on[] = {firstHasIt, !firstHasIt};
        QTextDocument doc;
        QTextCursor c(&doc);
        for (bool state : on)
            c.insertText(QStringLiteral("word "),
                         look(QStringLiteral("Arial"), 9, t == Toggle::Bold && state,
                              t == Toggle::Italic && state, t == Toggle::Underline && state));
        c.select(QTextCursor::Document);
        c.mergeCharFormat(NoteToolbar::toggled(c, t));
        QCOMPARE(has(doc.begin().begin().fragment().charFormat(), t), !firstHasIt);
        QCOMPARE(doc.begin().begin().fragment().length(), 10); // one uniform run now
    }

    void toolbarShowsTheSelection() {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("abc"), look(QStringLiteral("Arial"), 9, true));
        c.insertText(QStringLiteral("def"), look(QStringLiteral("Arial"), 12));
        c.insertBlock();
        c.insertText(QStringLiteral("ghi"), look(QStringLiteral("Times"), 12, false, true));

        QTextCursor sel(&doc);
        sel.setPosition(1);
        sel.setPosition(5, QTextCursor::KeepAnchor); // "bcde": one font, two sizes
        NoteToolbar::Shown s = NoteToolbar::shown(sel);
        QCOMPARE(s.family, QStringLiteral("Arial"));
        QCOMPARE(s.points, 0.0);
        QVERIFY(s.bold);

        sel.setPosition(4);
        sel.setPosition(10, QTextCursor::KeepAnchor); // "ef", the line end, "ghi"
        s = NoteToolbar::shown(sel);
        QCOMPARE(s.family, QString());
        QCOMPARE(s.points, 12.0);
        QVERIFY(!s.bold && !s.italic);

        sel.setPosition(9); // caret inside "ghi"
        s = NoteToolbar::shown(sel);
        QCOMPARE(s.family, QStringLiteral("Times"));
        QVERIFY(s.italic);
        QCOMPARE(NoteToolbar::sizeText(s.points), QStringLiteral("12"));
        QCOMPARE(NoteToolbar::sizeText(10.5), QStringLiteral("10.5"));
    }

    void onlyNewWithoutNotes() {
        for (int i = 0; i < NoteToolbar::CommandCount; ++i) {
            const auto command = NoteToolbar::Command(i);
            QCOMPARE(NoteToolbar::enabled(command, 0), command == NoteToolbar::Command::New);
            QVERIFY(NoteToolbar::enabled(command, 1));
        }
        QVERIFY(!NoteToolbar::fontBoxesEnabled(0));
        QCOMPARE(NoteToolbar::toolTip(NoteToolbar::Command::Underline),
                 QStringLiteral("Underline"));
    }

    void searchWalksFrontToBack_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("presses"); // "index:start" per press, "-" for the message
        QTest::newRow("small letters") << "apple" << QStringList{"1:0", "0:0", "0:14", "-", "1:0"};
        QTest::newRow("capitals") << "APPLE" << QStringList{"1:0", "0:0", "0:14", "-"};
        QTest::newRow("beyond ASCII")
            << QString::fromUtf8("ÄPFEL") << QStringList{"3:4", "-", "3:4"};
        QTest::newRow("nowhere") << "pear" << QStringList{"-", "-"};
    }

    void searchWalksFrontToBack() {
        QFETCH(QString, text);
        QFETCH(QStringList, presses);
        // index: depth, text; card 2 was deleted after the dialog opened.
        const QStringList texts{QStringLiteral("Apple pie and APPLE"), QStringLiteral("apple"),
                                QStringLiteral("apple"), QString::fromUtf8("die äpfel")};
        NoteSearch search({{0, 2}, {1, 1}, {2, 3}, {3, 10}});
        QCOMPARE(search.order(), (QList<int>{1, 0, 2, 3}));
        const NoteSearch::TextOf textOf = [&](int index) -> std::optional<QString> {
            if (index == 2)
                return std::nullopt;
            return texts.at(index);
        };
        for (const QString& expected : presses) {
            const std::optional<NoteSearch::Hit> hit = search.findNext(text, textOf);
            const QString got =
                hit ? QStringLiteral("%1:%2").arg(hit->index).arg(hit->start) : QStringLiteral("-");
            QCOMPARE(got, expected);
            if (hit)
                QCOMPARE(hit->length, text.size());
        }
    }

    void autosaveAfterTypingStops() {
        Saver s;
        for (qint64 t : {0, 1000, 2500})
            s.typeAt(t);
        s.timer.runUntil(5499);
        QVERIFY(s.savedAt.isEmpty());
        s.timer.runUntil(60000);
        QCOMPARE(s.savedAt, QList<qint64>{5500});
        QVERIFY(!s.autosave.pending());
    }

    void autosaveDuringSteadyTyping() {
        Saver s;
        for (qint64 t = 0; t <= 40000; t += 1000)
            s.typeAt(t);
        s.timer.runUntil(50000);
        QCOMPARE(s.savedAt, (QList<qint64>{15000, 30000, 43000}));
    }

    void flushAndRefusal() {
        Saver s;
        QVERIFY(s.autosave.flush()); // nothing to save: no write
        QVERIFY(s.savedAt.isEmpty());
        s.typeAt(0);
        QVERIFY(s.autosave.flush());
        QCOMPARE(s.savedAt, QList<qint64>{0});
        QVERIFY(!s.timer.active);

        s.refuse = true;
        s.typeAt(1000);
        s.timer.runUntil(4000); // refused: stays pending, tried again 3 s later
        QVERIFY(s.autosave.pending());
        QVERIFY(!s.autosave.flush());
        s.refuse = false;
        s.timer.runUntil(7000);
        QCOMPARE(s.savedAt, (QList<qint64>{0, 7000}));
    }
};

QTEST_MAIN(TestNoteEditing)
#include "tst_noteediting.moc"
