// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/Install.h"
#include "scheduler/ScheduleDueReader.h"
#include "scheduler/ScheduleRowText.h"
#include "scheduler/ScheduledCommand.h"
#include "scheduler/ui/Schedule.h"
#include "scheduler/ui/ScheduleDescriptor.h"
#include "scheduler/ui/ScheduleEditor.h"
#include "shell/FiringRules.h"

#include <QTableWidget>

namespace {

using M = MarkingTranslator;

struct Fixture : Install {
    Fixture()
        : Install({.start = QDateTime(QDate(2026, 3, 10), QTime(8, 30)),
                   .marked = true,
                   .dataFile = true}) {
        exec("INSERT INTO Schedule VALUES (1, '\"/opt/my tools/run\" --now', "
             "'2026-03-12 19:05', 3), (2, 'H', '2026-03-11 07:00', 1), "
             "(2, '', '2026-03-13 00:00', 0)");
    }
};

} // namespace

class ScheduleTranslationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The list page: captions, header and hint translated; each line's type, description
    // and frequency in the user's language, but a program's command line as it is stored.
    void listIsTranslatedButCommandsAreNot() {
        Fixture fx;
        const auto page = fx.showPage<Schedule>(800, 520);
        // The deletion mark is a sign, not a word.
        QCOMPARE(M::unmarkedTexts(page.get(), {.texts = {QStringLiteral("X")}}).join(u'\n'),
                 QString());
        const auto cell = [&](int line, int column) {
            return page->grid()->item(line, column)->text();
        };
        // In SchDT order: hibernate, launch, power off.
        QCOMPARE(cell(0, Schedule::TypeCol), M::marked("Shut Down System"));
        QCOMPARE(cell(0, Schedule::DescCol), M::marked("On Hibernation"));
        QCOMPARE(cell(0, Schedule::FreqCol), M::marked("one time"));
        QCOMPARE(cell(1, Schedule::TypeCol), M::marked("Launch Program"));
        QCOMPARE(cell(1, Schedule::DescCol), "\"/opt/my tools/run\" --now");
        QCOMPARE(cell(1, Schedule::FreqCol), M::marked("weekly"));
        QCOMPARE(cell(2, Schedule::DescCol), M::marked("Shut down the computer and power off."));
        QCOMPARE(cell(2, Schedule::FreqCol), M::marked("none"));
        // The frequency column is wide enough for the longest name, whichever it is.
        const QFontMetrics fm(page->grid()->font());
        for (int f = FiringRules::Inactive; f <= FiringRules::Yearly; ++f)
            QVERIFY(page->grid()->columnWidth(Schedule::FreqCol) >
                    fm.horizontalAdvance(ScheduleRowText::frequencyName(f)));
    }

    void editorIsTranslated() {
        Fixture fx;
        ScheduleEditor editor(ScheduleEditorState::fresh(fx.clock));
        QCOMPARE(editor.windowTitle(), M::marked("- Edit Schedule -"));
        QCOMPARE(M::unmarkedTexts(&editor).join(u'\n'), QString());
    }

    // What the tick keeps of an entry: the program and its arguments as stored, the name
    // shown in the missed-entries notice translated.
    void dueEntriesNameTheirActionTranslated() {
        Fixture fx;
        QList<DueEntry> entries;
        DataFile db(fx.context.paths.dataFile());
        QVERIFY(readScheduledEntries(db, fx.context.paths, entries));
        QCOMPARE(entries.size(), 2); // the inactive one never fires
        QCOMPARE(entries[0].name, M::marked("start run"));
        QCOMPARE(entries[0].program, "/opt/my tools/run");
        QCOMPARE(entries[0].arguments, QStringList{"--now"});
        QCOMPARE(entries[1].name, M::marked("hibernate"));
        QCOMPARE(entries[1].arguments, QStringList{"0"});

        // A refusal names the program where the sentence puts it.
        QCOMPARE(ScheduledCommand::problem(QStringLiteral("no-such-program-here")),
                 M::marked("no-such-program-here was not found. Give the program by its full "
                           "path, such as /usr/bin/program."));
    }

    void descriptorKeepsItsNames() {
        const MarkingTranslator translator;
        const ToolDescriptor d = scheduleDescriptor();
        QCOMPARE(d.id, "Schedule");
        QCOMPARE(d.commandName, "scheduler");
        QCOMPARE(d.dueTables, QStringList{"Schedule"});
        QCOMPARE(d.caption, M::marked("Power Scheduler"));
        QCOMPARE(d.accelerator, M::marked("Power &Scheduler"));
    }
};

QTEST_MAIN(ScheduleTranslationTest)
#include "tst_scheduletranslation.moc"
