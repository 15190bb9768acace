// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/Install.h"
#include "notes/NoteDueReader.h"
#include "notes/ui/FindNote.h"
#include "notes/ui/NotesDescriptor.h"
#include "notes/ui/NotesPage.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

using NoteToolbar::Command;

namespace {

struct Fixture : Install {
    Fixture()
        : Install({.start = QDateTime(QDate(2026, 3, 10), QTime(8, 30)),
                   .marked = true,
                   .dataFile = true}) {}

    void note(int zOrder, const QString& text, int frequency = 0) {
        DataFile db(context.paths.dataFile());
        db.insert(QStringLiteral("INSERT INTO QNotes (Content, ZOrder, CDate, Frequency, SchDT) "
                                 "VALUES (?, ?, '2026-03-05', ?, '2026-03-10 09:00')"),
                  {text, zOrder, frequency});
    }
    std::unique_ptr<NotesPage> open() { return showPage<NotesPage>(900, 640); }
};

} // namespace

class NotesTranslationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every caption, tip and name of the page, its cards (one with an alarm) and the
    // search dialog reaches the user translated.
    void everyShownTextIsTranslated() {
        Fixture fx;
        fx.note(2, QStringLiteral("first"));
        fx.note(1, QStringLiteral("second"), 2);
        auto page = fx.open();
        // The font box lists the fonts by their own names.
        QCOMPARE(MarkingTranslator::unmarkedTexts(page.get(), {.texts = QFontDatabase::families()})
                     .join(u'\n'),
                 QString());
        QCOMPARE(page->windowTitle(), MarkingTranslator::marked("Quick Notes"));

        page->command(Command::Find);
        FindNote* find = page->findDialog();
        QVERIFY(find);
        QCOMPARE(MarkingTranslator::unmarkedTexts(find).join(u'\n'), QString());
        find->findChild<QLineEdit*>("FindTb")->setText(QStringLiteral("nowhere"));
        find->findChild<QPushButton*>("FindBtn")->click();
        QCOMPARE(fx.desktop.dialogs.messages.size(), 1);
        QCOMPARE(fx.desktop.dialogs.messages.last().text,
                 MarkingTranslator::marked("No more search result found."));
        QCOMPARE(fx.desktop.dialogs.messages.last().title, MarkingTranslator::marked("Message"));

        fx.desktop.dialogs.answers = {MessageAnswer::No};
        page->command(Command::Delete);
        QCOMPARE(fx.desktop.dialogs.messages.last().text,
                 MarkingTranslator::marked("Are you sure to delete this note?"));
        QCOMPARE(fx.desktop.dialogs.messages.last().title, MarkingTranslator::marked("Confirm"));
        page->aboutToHide();
    }

    // The empty page says what to do, translated.
    void emptyPageHintIsTranslated() {
        Fixture fx;
        auto page = fx.open();
        auto* hint = page->findChild<QLabel*>("EmptyLb");
        QVERIFY(hint && hint->isVisible());
        QCOMPARE(hint->text(), MarkingTranslator::marked(QString::fromUtf8(NotesPage::EmptyText)));
    }

    // Names other programs and the tests find things by stay English whatever the language:
    // the buttons' object names, the tool's id and command name.
    void namesStayUntranslated() {
        Fixture fx;
        auto page = fx.open();
        const QStringList names{"NewBtn",   "DeleteBtn", "FindBtn",   "SpellingBtn", "ScheduleBtn",
                                "ColorBtn", "BoldBtn",   "ItalicBtn", "UnderlineBtn"};
        for (int i = 0; i < NoteToolbar::CommandCount; ++i) {
            QCOMPARE(page->action(Command(i))->objectName(), names[i]);
            QVERIFY2(page->action(Command(i))
                         ->toolTip()
                         .startsWith(MarkingTranslator::marked(
                             QString::fromLatin1(NoteToolbar::name(Command(i))))),
                     qPrintable(page->action(Command(i))->toolTip()));
        }

        const ToolDescriptor d = notesDescriptor();
        QCOMPARE(d.id, "QNotes");
        QCOMPARE(d.commandName, "notes");
        QCOMPARE(d.caption, MarkingTranslator::marked("Quick Notes"));
        QCOMPARE(d.accelerator, MarkingTranslator::marked("Quick &Notes"));
        // The missed-alarm notice names the entry in the user's language.
        QCOMPARE(noteAlarmAction({}, {}).lateName, MarkingTranslator::marked("Note alarm"));
    }
};

QTEST_MAIN(NotesTranslationTest)
#include "tst_notestranslation.moc"
