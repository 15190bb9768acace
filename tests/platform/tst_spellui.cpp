// SPDX-License-Identifier: GPL-3.0-or-later
// Spell checking in the windows: underlining and the context menu while typing, and the
// interactive check dialog.
#include "mock/FakeDesktop.h"
#include "platform/spell/ui/SpellAsYouType.h"
#include "platform/spell/ui/SpellCheckDialog.h"
#include "tst_spell_fixture.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>

namespace {

QList<std::pair<int, int>> underlined(QTextDocument* doc) {
    QList<std::pair<int, int>> out;
    for (const QTextLayout::FormatRange& r : doc->firstBlock().layout()->formats())
        if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            out.append({r.start, r.length});
    return out;
}

} // namespace

class TestSpellUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void underlinesWhileTyping() {
        SpellFixture f;
        SpellChecker checker(f.dictionary(), f.lex());
        QPlainTextEdit edit("hello wrld");
        auto* spell = new SpellAsYouType(&edit, checker);
        QCOMPARE(edit.contextMenuPolicy(), Qt::CustomContextMenu);
        // The first pass runs once the event loop turns; later edits are underlined at once.
        QTRY_COMPARE(underlined(edit.document()), (QList<std::pair<int, int>>{{6, 4}}));
        edit.setPlainText("helo cat");
        QCOMPARE(underlined(edit.document()), (QList<std::pair<int, int>>{{0, 4}}));
        delete spell; // detached: no underlines, the box's own menu again
        QVERIFY(underlined(edit.document()).isEmpty());
        QCOMPARE(edit.contextMenuPolicy(), Qt::DefaultContextMenu);
        auto* owned = new QTextEdit("wrld");
        new SpellAsYouType(owned, checker);
        delete owned; // the helper goes with its box
    }

    void contextMenuOffersSuggestions() {
        SpellFixture f;
        SpellChecker checker(f.dictionary(), f.lex());
        QTextEdit edit;
        edit.setPlainText("hello wrld");
        edit.resize(300, 100);
        edit.show();
        SpellAsYouType spell(&edit, checker);
        QTextCursor at(edit.document());
        at.setPosition(8);
        std::unique_ptr<QMenu> menu(spell.createMenu(edit.cursorRect(at).center()));
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.first()->text(), QStringLiteral("world"));
        QVERIFY(std::any_of(actions.begin(), actions.end(),
                            [](QAction* a) { return a->text() == "Add to Dictionary"; }));
        actions.first()->trigger();
        QCOMPARE(edit.toPlainText(), QStringLiteral("hello world"));
        // Over a correct word the menu is the box's own.
        at.setPosition(2);
        std::unique_ptr<QMenu> plain(spell.createMenu(edit.cursorRect(at).center()));
        QVERIFY(plain->actions().first()->text() != QStringLiteral("hello"));
    }

    void dialogStepsThroughTheWords() {
        SpellFixture f;
        SpellChecker checker(f.dictionary(), f.lex());
        QTextDocument doc("helo wrld cat wrld");
        SpellCheckDialog dialog(doc, checker);
        QList<int> shown;
        dialog.setWordShown([&](int start, int) { shown << start; });
        QVERIFY(dialog.start());
        QCOMPARE(dialog.word(), "helo");
        QCOMPARE(dialog.findChild<QLineEdit*>("ChangeToTb")->text(), "hello");
        dialog.findChild<QPushButton*>("ChangeBtn")->click();
        QCOMPARE(dialog.word(), "wrld");
        dialog.findChild<QPushButton*>("AddBtn")->click();
        // The added word is no longer asked about: the check has ended.
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(doc.toPlainText(), "hello wrld cat wrld");
        QCOMPARE(f.read("SpellUS.lex"), QByteArray("wrld\n"));
        QCOMPARE(shown, (QList<int>{0, 6}));
        for (const char* name :
             {"ChangeBtn", "ChangeAllBtn", "IgnoreBtn", "IgnoreAllBtn", "AddBtn", "CancelBtn"})
            QVERIFY(dialog.findChild<QPushButton*>(name));
    }

    void runSaysWhenCheckingIsOff() {
        SpellFixture f;
        FakeDialogs platform;
        QTextEdit edit("qwzx");
        SpellChecker off({f.dir.filePath("none.aff"), f.dir.filePath("none.dic")}, f.lex());
        SpellCheckDialog::run(&edit, off, platform);
        SpellChecker on(f.dictionary(), f.lex());
        edit.setPlainText("hello cat");
        SpellCheckDialog::run(&edit, on, platform);
        QCOMPARE(platform.messages.size(), 2);
        QCOMPARE(platform.messages[0].text, SpellCheckDialog::UnavailableText);
        QCOMPARE(platform.messages[1].text, QStringLiteral("Spell check is complete."));
        QCOMPARE(platform.messages[1].title, QStringLiteral("Message"));
    }
};

QTEST_MAIN(TestSpellUi)
#include "tst_spellui.moc"
