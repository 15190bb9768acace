#include "mock/FakeClock.h"
#include "scheduler/ScheduleEditorState.h"
#include "scheduler/ScheduleList.h"
#include "scheduler/ScheduleRowText.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Ink = ScheduleRowText::Ink;

namespace {

ScheduleRow row(int type, const QString& launch, int frequency,
                const QDateTime& due = QDateTime(QDate(2026, 12, 5), QTime(19, 5))) {
    ScheduleRow r;
    r.rowId = 7;
    r.schType = type;
    r.launch = launch;
    r.date = due.date();
    r.time = due.time();
    r.frequency = frequency;
    return r;
}

ScheduleEditorState editor(bool launch, const QString& program, bool active, bool oneTime,
                           int option, bool reminder = false) {
    ScheduleEditorState s = ScheduleEditorState::fresh(FakeClock());
    s.launchProgram = launch;
    s.program = program;
    s.active = active;
    s.oneTime = oneTime;
    s.freqOption = option;
    s.reminderMode = reminder;
    return s;
}

} // namespace

class TestScheduleRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowTexts_data() {
        QTest::addColumn<ScheduleRow>("entry");
        QTest::addColumn<QStringList>("texts"); // type, description, frequency
        QTest::addColumn<Ink>("textInk");
        QTest::addColumn<Ink>("typeInk");
        QTest::newRow("launch") << row(1, "/opt/my tools/run it", 3)
                                << QStringList{"Launch Program", "/opt/my tools/run it", "weekly"}
                                << Ink::WindowText << Ink::Green;
        QTest::newRow("inactive: grey, none")
            << row(1, "/bin/true", 0) << QStringList{"Launch Program", "/bin/true", "none"}
            << Ink::GreyText << Ink::GreyText;
        QTest::newRow("hibernate")
            << row(2, "H", 1) << QStringList{"Shut Down System", "On Hibernation", "one time"}
            << Ink::WindowText << Ink::DarkRed;
        QTest::newRow("lower-case h powers off")
            << row(2, "h", 5)
            << QStringList{"Shut Down System", "Shut down the computer and power off.", "yearly"}
            << Ink::WindowText << Ink::DarkRed;
        QTest::newRow("unknown type and code")
            << row(7, "H", 9) << QStringList{"", "", "none"} << Ink::WindowText << Ink::Black;
    }
    void rowTexts() {
        QFETCH(ScheduleRow, entry);
        QFETCH(QStringList, texts);
        QFETCH(Ink, textInk);
        QFETCH(Ink, typeInk);
        const ScheduleRowText t = ScheduleRowText::of(entry, QLocale(QLocale::English));
        QCOMPARE((QStringList{t.type, t.description, t.frequency}), texts);
        QCOMPARE(t.textInk, textInk);
        QCOMPARE(t.typeInk, typeInk);
    }

    void whenText_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QDateTime>("due");
        QTest::addColumn<QString>("text");
        const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
        QTest::newRow("evening") << gb << QDateTime(QDate(2026, 12, 5), QTime(19, 5, 40))
                                 << "05/12/2026 7:05 PM";
        QTest::newRow("midnight") << gb << QDateTime(QDate(2026, 1, 9), QTime(0, 0))
                                  << "09/01/2026 12:00 AM";
        QTest::newRow("noon, German date")
            << QLocale(QLocale::German, QLocale::Germany)
            << QDateTime(QDate(2026, 3, 1), QTime(12, 30)) << "01.03.26 12:30 PM";
        QTest::newRow("unreadable") << gb << QDateTime() << "";
    }
    void whenText() {
        QFETCH(QLocale, locale);
        QFETCH(QDateTime, due);
        QFETCH(QString, text);
        QCOMPARE(ScheduleRowText::whenText(due.date(), due.time(), locale), text);
    }

    // Marks, double-clicks and the lines offered for new entries.
    void listLines() {
        ScheduleList list;
        list.load({row(1, "/bin/a", 2), row(2, "", 2)});
        QCOMPARE(list.lineCount(), ScheduleList::DesignedLines);
        QCOMPARE(list.text(1, QLocale::c()).type, QStringLiteral("Shut Down System"));
        QCOMPARE(list.text(2).type, QString());

        QCOMPARE(list.doubleClick(1, 0), ScheduleList::DoubleClick::MarkToggled);
        QVERIFY(list.marked(1));
        QCOMPARE(list.doubleClick(1, 3), ScheduleList::DoubleClick::Nothing);
        QCOMPARE(list.doubleClick(1, 0), ScheduleList::DoubleClick::MarkToggled);
        QVERIFY(!list.marked(1));
        QCOMPARE(list.doubleClick(1, 3), ScheduleList::DoubleClick::OpenEditor);

        // An empty line opens the editor with its defaults.
        FakeClock clock(QDateTime(QDate(2026, 3, 10), QTime(8, 30, 45)));
        QCOMPARE(list.doubleClick(5, 2), ScheduleList::DoubleClick::OpenEditor);
        const ScheduleEditorState fresh = list.editorFor(5, clock);
        QVERIFY(fresh.launchProgram && fresh.active && !fresh.oneTime);
        QCOMPARE(fresh.freqOption, 0);
        QCOMPARE(QDateTime(fresh.date, fresh.time), QDateTime(clock.today(), QTime(8, 30)));

        // More entries than lines grow the list, with one empty line to add another.
        list.load(std::vector<ScheduleRow>(130, row(1, "/bin/a", 2)));
        QCOMPARE(list.lineCount(), 131);
        QVERIFY(!list.hasEntry(130));
    }

    // The editor opens on what the row holds and saves it back unchanged.
    void editorPresets_data() {
        QTest::addColumn<ScheduleRow>("entry");
        QTest::addColumn<bool>("launch");
        QTest::addColumn<bool>("hibernate");
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("oneTime");
        QTest::addColumn<int>("option");
        QTest::addColumn<ScheduleRow>("saved");
        QTest::newRow("launch, monthly")
            << row(1, "/bin/a", 4) << true << false << true << false << 2 << row(1, "/bin/a", 4);
        QTest::newRow("hibernate, one time")
            << row(2, "H", 1) << false << true << true << true << 0 << row(2, "H", 1);
        QTest::newRow("inactive keeps Daily")
            << row(2, "", 0) << false << false << false << false << 0 << row(2, "", 0);
        QTest::newRow("other type opens as shut down and saves as 2")
            << row(5, "H", 3) << false << false << true << false << 1 << row(2, "", 3);
        QTest::newRow("power off with an odd Launch saves empty")
            << row(2, "x", 5) << false << false << true << false << 3 << row(2, "", 5);
    }
    void editorPresets() {
        QFETCH(ScheduleRow, entry);
        QFETCH(ScheduleRow, saved);
        const ScheduleEditorState s = ScheduleEditorState::forEntry(entry, FakeClock());
        QTEST(s.launchProgram, "launch");
        QTEST(s.hibernate, "hibernate");
        QTEST(s.active, "active");
        QTEST(s.oneTime, "oneTime");
        QTEST(s.freqOption, "option");
        const ScheduleRow out = s.entry(entry.rowId);
        QCOMPARE(out.rowId, entry.rowId);
        QCOMPARE(out.schType, saved.schType);
        QCOMPARE(out.launch, saved.launch);
        QCOMPARE(QDateTime(out.date, out.time), QDateTime(entry.date, entry.time));
        QCOMPARE(out.frequency, saved.frequency);
    }

    void editorState_data() {
        QTest::addColumn<ScheduleEditorState>("state");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("frameShown");
        QTest::addColumn<bool>("hibernateShown");
        QTest::newRow("new launch without program")
            << editor(true, "", true, false, 0) << false << "2" << true << false;
        QTest::newRow("launch with program")
            << editor(true, "/bin/a", true, false, 3) << true << "5" << true << false;
        QTest::newRow("shut down without program")
            << editor(false, "", true, false, 1) << true << "3" << true << true;
        QTest::newRow("inactive whatever else")
            << editor(false, "", false, false, 2) << true << "0" << true << true;
        QTest::newRow("one time") << editor(false, "", true, true, 2) << true << "1" << false
                                  << true;
        QTest::newRow("one time, inactive")
            << editor(false, "", false, true, 2) << true << "0" << false << true;
        QTest::newRow("no option selected")
            << editor(false, "", true, false, -1) << true << "0" << true << true;
        QTest::newRow("reminder, launch without program")
            << editor(true, "", true, false, 1, true) << true << "3" << true << false;
        QTest::newRow("reminder never shows hibernation")
            << editor(false, "", true, false, 1, true) << true << "3" << true << false;
    }
    void editorState() {
        QFETCH(ScheduleEditorState, state);
        QTEST(state.okEnabled(), "ok");
        QTEST(state.frequencyTag(), "tag");
        QTEST(state.frequencyVisible(), "frameShown");
        QTEST(state.hibernateVisible(), "hibernateShown");
        QCOMPARE(state.whenEnabled(), state.active);
        QCOMPARE(state.typeVisible(), !state.reminderMode);
        QCOMPARE(state.entry().frequency, state.frequencyTag().toInt());
    }

    void switchingTypesKeepsThePath() {
        ScheduleEditorState s = editor(true, "/opt/run", true, false, 0);
        s.launchProgram = false;
        QCOMPARE(s.programText(), QString());
        QVERIFY(!s.programEnabled());
        QCOMPARE(s.shutDownCaptionColour(), QColor(128, 0, 0));
        QCOMPARE(s.entry().launch, QString(""));
        s.launchProgram = true;
        QCOMPARE(s.programText(), QStringLiteral("/opt/run"));
        QCOMPARE(s.launchCaptionColour(), QColor(0, 64, 0));
        QCOMPARE(s.shutDownCaptionColour(), QColor(64, 64, 64));
        QVERIFY(s.okEnabled());
    }

    void chooseProgram() {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("my tool.sh"));
        const QString plain = dir.filePath(QStringLiteral("notes.com"));
        for (const QString& path : {script, plain}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\n");
        }
        QVERIFY(
            QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        ScheduleEditorState s = editor(true, "", true, false, 0);
        QCOMPARE(s.dialogStart(), QStringLiteral("/"));
        QVERIFY(!s.chooseProgram(script));
        QCOMPARE(s.program, script);
        QCOMPARE(s.dialogStart(), script);
        // Refused: beep, old path kept. Cancelled: no beep, nothing changes.
        QVERIFY(s.chooseProgram(plain));
        QVERIFY(s.chooseProgram(dir.path()));
        QVERIFY(!s.chooseProgram(QString()));
        QCOMPARE(s.program, script);
    }

    void reminderShift() {
        QCOMPARE(ScheduleEditorState::reminderShift(1001), 730);
        QCOMPARE(ScheduleEditorState::reminderShift(1000), 0);
    }
};

QTEST_GUILESS_MAIN(TestScheduleRules)
#include "tst_schedulerules.moc"
