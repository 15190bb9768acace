// SPDX-License-Identifier: GPL-3.0-or-later
// The spell checker through the Hunspell module, as the program links it.
#include "platform/spell/HunspellModule.h"
#include "tst_spell_fixture.h"

#include <QtTest>

class TestSpellModule : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Without the module the checker is off and says why, instead of passing every word in
    // silence as if no dictionary were installed.
    void aMissingModuleIsTold() {
        HunspellModule::use(QStringLiteral("/nonexistent/libplumora_hunspell.so"));
        SpellFixture f;
        SpellChecker checker(f.dictionary(), f.lex());
        QVERIFY(!checker.available());
        QVERIFY(checker.failure().contains(QStringLiteral("/nonexistent/libplumora_hunspell.so")));
        QVERIFY(checker.isCorrect("helo"));
    }

    // Loaded, it checks, suggests and learns words as the linked-in code does.
    void theModuleChecks() {
        HunspellModule::use(QStringLiteral(PLUMORA_HUNSPELL_MODULE));
        SpellFixture f;
        f.write("SpellUS.lex", "plumora\n");
        SpellChecker checker(f.dictionary(), f.lex());
        QVERIFY(checker.available());
        QVERIFY(checker.failure().isEmpty());
        QVERIFY(checker.isCorrect("world"));
        QVERIFY(checker.isCorrect("plumora"));
        QVERIFY(!checker.isCorrect("wrld"));
        QVERIFY(checker.suggestions("wrld").contains("world"));
        QVERIFY(checker.addWord("zorbly"));
        QVERIFY(checker.isCorrect("zorbly"));
    }

    // A dictionary with no spelling module is never mistaken for no dictionary: a checker
    // without a dictionary reports no failure.
    void noDictionaryIsNoFault() {
        HunspellModule::use(QStringLiteral("/nonexistent/libplumora_hunspell.so"));
        SpellFixture f;
        SpellChecker checker({f.dir.filePath("none.aff"), f.dir.filePath("none.dic")}, f.lex());
        QVERIFY(!checker.available());
        QVERIFY(checker.failure().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSpellModule)
#include "tst_spellmodule.moc"
