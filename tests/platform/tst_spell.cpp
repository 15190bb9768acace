// SPDX-License-Identifier: GPL-3.0-or-later
// The spell checker and the interactive check's steps, on a small dictionary of our own.
#include "platform/spell/SpellSession.h"
#include "tst_spell_fixture.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

class TestSpell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void words_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("plain") << "Hello, world!" << QStringList{"Hello", "world"};
        QTest::newRow("apostrophes")
            << "don't 'quote' O\u2019Brien's" << QStringList{"don't", "quote", "O\u2019Brien's"};
        QTest::newRow("digits") << "meet at 3pm on day2 _x" << QStringList{"meet", "at", "on"};
        QTest::newRow("hyphen") << "well-known" << QStringList{"well", "known"};
        QTest::newRow("addresses") << "mail me@example.org or see https://ex.org/a www.ex.org ok"
                                   << QStringList{"mail", "or", "see", "ok"};
        QTest::newRow("accents") << "café naïve" << QStringList{"café", "naïve"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void words() {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QStringList found;
        for (const WordSpan& w : SpellChecker::words(text))
            found << text.mid(w.start, w.length);
        QCOMPARE(found, words);
    }

    void misspelledWordsGetSuggestions() {
        SpellFixture f;
        SpellChecker checker(f.dictionary(), f.lex());
        QVERIFY(checker.available());
        QVERIFY(checker.isCorrect("hello"));
        QVERIFY(checker.isCorrect("Hello"));
        QVERIFY(checker.isCorrect("don\u2019t"));
        QVERIFY(!checker.isCorrect("helo"));
        QVERIFY(checker.suggestions("helo").contains("hello"));
        QCOMPARE(checker.misspellings(u"helo world wrld"), (QList<WordSpan>{{0, 4}, {11, 4}}));
        // A run longer than any word is left alone.
        const QString run(SpellChecker::LongestWord, u'x');
        QCOMPARE(checker.misspellings(QString(run + u' ' + run + u'x')),
                 (QList<WordSpan>{{0, SpellChecker::LongestWord}}));
    }

    void addWritesTheUsersWordList() {
        SpellFixture f;
        {
            SpellChecker checker(f.dictionary(), f.lex());
            QVERIFY(!checker.isCorrect("Plumora"));
            QVERIFY(checker.addWord("Plumora"));
            QVERIFY(checker.isCorrect("Plumora"));
            QVERIFY(!checker.addWord("two words"));
            QVERIFY(!checker.addWord("  "));
        }
        QCOMPARE(f.read("SpellUS.lex"), QByteArray("Plumora\n"));
        // A list edited by hand without a last line break still gets one word per line.
        f.write("SpellUS.lex", "Plumora\nzork");
        SpellChecker checker(f.dictionary(), f.lex());
        QVERIFY(checker.isCorrect("Plumora"));
        QVERIFY(checker.isCorrect("zork"));
        QVERIFY(checker.addWord("blorp"));
        QCOMPARE(f.read("SpellUS.lex"), QByteArray("Plumora\nzork\nblorp\n"));
    }

    void ignoreAllWritesNothing() {
        SpellFixture f;
        SpellChecker checker(f.dictionary(), f.lex());
        checker.ignoreAll("qwzx");
        QVERIFY(checker.isCorrect("qwzx"));
        QVERIFY(!QFile::exists(f.lex()));
        QVERIFY(!SpellChecker(f.dictionary(), f.lex()).isCorrect("qwzx"));
    }

    void noDictionaryMeansOff_data() {
        QTest::addColumn<QStringList>("files"); // the .aff, then the .dic
        QTest::newRow("nothing") << QStringList{"none.aff", "none.dic"};
        QTest::newRow("no word file") << QStringList{"en_TEST.aff", "none.dic"};
        QTest::newRow("folders") << QStringList{".", "."};
    }

    void noDictionaryMeansOff() {
        QFETCH(QStringList, files);
        SpellFixture f;
        SpellChecker checker({f.dir.filePath(files[0]), f.dir.filePath(files[1])}, f.lex());
        QVERIFY(!checker.available());
        QVERIFY(checker.isCorrect("qwzx"));
        QVERIFY(checker.suggestions("qwzx").isEmpty());
        QVERIFY(checker.misspellings(u"qwzx zzkq").isEmpty());
        QTextDocument doc("qwzx");
        QVERIFY(!SpellSession(doc, checker).next());
    }

    void systemDictionary() {
        if (!SpellDictionary::systemEnglish().exists())
            QSKIP("no en_US dictionary installed");
        QTemporaryDir dir;
        SpellChecker checker(SpellDictionary::systemEnglish(), dir.filePath("SpellUS.lex"));
        QVERIFY(checker.isCorrect("receive"));
        QVERIFY(checker.isCorrect("doesn\u2019t"));
        QVERIFY(!checker.isCorrect("recieve"));
        QVERIFY(checker.suggestions("recieve").contains("receive"));
    }

    void sessionWalksTheDocument() {
        SpellFixture f;
        SpellChecker checker(f.dictionary(), f.lex());
        QTextDocument doc;
        doc.setHtml("helo wrld helo cat <b>helo</b> dgo wrld");
        SpellSession session(doc, checker);

        QVERIFY(session.next());
        QCOMPARE(session.word(), "helo");
        QCOMPARE(session.start(), 0);
        QVERIFY(session.suggestions().contains("hello"));
        session.changeAll("hello");
        QVERIFY(session.next());
        QCOMPARE(session.word(), "wrld");
        session.ignoreAll();
        // Both later "helo" are changed on the way; the ignored "wrld" is not asked again.
        QVERIFY(session.next());
        QCOMPARE(session.word(), "dgo");
        session.change("dog");
        QVERIFY(!session.next());
        QCOMPARE(doc.toPlainText(), "hello wrld hello cat hello dog wrld");
        // A replacement keeps the formatting of the word it replaces.
        QTextCursor bold(&doc);
        bold.setPosition(23);
        QCOMPARE(bold.charFormat().fontWeight(), int(QFont::Bold));
        QVERIFY(!QFile::exists(f.lex()));
    }
};

QTEST_MAIN(TestSpell)
#include "tst_spell.moc"
