// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/FakeClock.h"
#include "scheduler/ScheduleEditorState.h"
#include "scheduler/ScheduleList.h"
#include "scheduler/ScheduleRowText.h"
#include "scheduler/ScheduledCommand.h"
#include "scheduler/TypedTime.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Ink = ScheduleRowText::Ink;

namespace {

ScheduleRow row(int type, const QString& launch, int frequency) {
    return ScheduleRow{7, type, launch, QDate(2026, 12, 5), QTime(19, 5), frequency};
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
        QTest::newRow("launch") << row(1, "/opt/my tools/run", 3)
                                << QStringList{"Launch Program", "/opt/my tools/run", "weekly"}
                                << Ink::WindowText << Ink::Green;
        QTest::newRow("inactive: grey, none")
            << row(1, "/bin/true", 0) << QStringList{"Launch Program", "/bin/true", "none"}
            << Ink::GreyText << Ink::GreyText;
        QTest::newRow("H hibernates")
            << row(2, "H", 1) << QStringList{"Shut Down System", "On Hibernation", "one time"}
            << Ink::WindowText << Ink::DarkRed;
        QTest::newRow("any other Launch powers off")
            << row(2, "h", 5)
            << QStringList{"Shut Down System", "Shut down the computer and power off.", "yearly"}
            << Ink::WindowText << Ink::DarkRed;
        QTest::newRow("unknown type and code")
            << row(7, "H", 9) << QStringList{"", "", "none"} << Ink::WindowText << Ink::Black;
    }
    void rowTexts() {
        QFETCH(ScheduleRow, entry);
        const ScheduleRowText t = ScheduleRowText::of(entry, QLocale::c());
        QTEST((QStringList{t.type, t.description, t.frequency}), "texts");
        QTEST(t.textInk, "textInk");
        QTEST(t.typeInk, "typeInk");
    }

    void whenText() {
        const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
        QCOMPARE(ScheduleRowText::whenText(QDate(2026, 12, 5), QTime(19, 5, 40), gb),
                 QStringLiteral("05/12/2026 7:05 PM"));
        QCOMPARE(ScheduleRowText::whenText(QDate(2026, 1, 9), QTime(0, 0), gb),
                 QStringLiteral("09/01/2026 12:00 AM"));
        QCOMPARE(ScheduleRowText::whenText(QDate(), QTime(0, 0), gb), QString());
        // Other languages write their own short date and time.
        QCOMPARE(ScheduleRowText::whenText(QDate(2026, 12, 5), QTime(19, 5), QLocale("en_US")),
                 QStringLiteral("12/5/26 7:05 PM"));
        QCOMPARE(ScheduleRowText::whenText(QDate(2026, 12, 5), QTime(19, 5), QLocale("de_DE")),
                 QStringLiteral("05.12.26 19:05"));
    }

    // Marks, double-clicks and the lines offered for new entries.
    void listLines() {
        ScheduleList list;
        list.load({row(1, "/bin/a", 2), row(2, "", 2)});
        QCOMPARE(list.lineCount(), ScheduleList::DesignedLines);
        QCOMPARE(list.doubleClick(1, 0), ScheduleList::DoubleClick::MarkToggled);
        QVERIFY(list.marked(1));
        QCOMPARE(list.doubleClick(1, 3), ScheduleList::DoubleClick::Nothing);
        QCOMPARE(list.doubleClick(1, 0), ScheduleList::DoubleClick::MarkToggled);
        QCOMPARE(list.doubleClick(1, 3), ScheduleList::DoubleClick::OpenEditor);

        // An empty line opens the editor with its defaults, at the current minute.
        FakeClock clock(QDateTime(QDate(2026, 3, 10), QTime(8, 30, 45)));
        QCOMPARE(list.doubleClick(5, 2), ScheduleList::DoubleClick::OpenEditor);
        const ScheduleRow fresh = list.editorFor(5, clock).entry();
        QCOMPARE(fresh.schType, int(ScheduleType::LaunchProgram));
        QCOMPARE(fresh.frequency, 2);
        QCOMPARE(QDateTime(fresh.date, fresh.time), QDateTime(clock.today(), QTime(8, 30)));

        // More entries than lines grow the list, with one empty line to add another.
        list.load(std::vector<ScheduleRow>(130, row(1, "/bin/a", 2)));
        QCOMPARE(list.lineCount(), 131);
        QVERIFY(!list.hasEntry(130));
    }

    // The editor opens on what the row holds and saves it back as it was, except that a
    // row of another type becomes a shut-down.
    void editorRoundTrip_data() {
        QTest::addColumn<ScheduleRow>("entry");
        QTest::addColumn<ScheduleRow>("saved");
        for (const ScheduleRow& r : {row(1, "/bin/a", 4), row(2, "H", 1), row(2, "", 0)})
            QTest::addRow("type %d, %s, code %d", r.schType, qPrintable(r.launch), r.frequency)
                << r << r;
        QTest::newRow("other type saves as 2") << row(5, "H", 3) << row(2, "", 3);
        QTest::newRow("odd Launch saves empty") << row(2, "x", 5) << row(2, "", 5);
    }
    void editorRoundTrip() {
        QFETCH(ScheduleRow, entry);
        QFETCH(ScheduleRow, saved);
        const ScheduleRow out = ScheduleEditorState::forEntry(entry, FakeClock()).entry(7);
        QCOMPARE(
            (std::tuple{out.rowId, out.schType, out.launch, out.date, out.time, out.frequency}),
            (std::tuple{saved.rowId, saved.schType, saved.launch, saved.date, saved.time,
                        saved.frequency}));
    }

    void editorState_data() {
        QTest::addColumn<ScheduleEditorState>("state");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("hibernateShown");
        QTest::newRow("new launch without program")
            << editor(true, "", true, false, 0) << false << "2" << false;
        QTest::newRow("shut down, no program")
            << editor(false, "", true, false, 1) << true << "3" << true;
        QTest::newRow("inactive") << editor(false, "", false, false, 2) << true << "0" << true;
        QTest::newRow("one time") << editor(false, "", true, true, 2) << true << "1" << true;
        QTest::newRow("no option") << editor(false, "", true, false, -1) << true << "0" << true;
        QTest::newRow("reminder: launch without program")
            << editor(true, "", true, false, 1, true) << true << "3" << false;
        QTest::newRow("reminder: never hibernation")
            << editor(false, "", true, false, 1, true) << true << "3" << false;
    }
    void editorState() {
        QFETCH(ScheduleEditorState, state);
        QTEST(state.okEnabled(), "ok");
        QTEST(state.frequencyTag(), "tag");
        QTEST(state.hibernateVisible(), "hibernateShown");
        QCOMPARE(state.frequencyVisible(), !state.oneTime);
        QCOMPARE(state.whenEnabled(), state.active);
        QCOMPARE(state.typeVisible(), !state.reminderMode);
    }

    void switchingTypesKeepsThePath() {
        ScheduleEditorState s = editor(true, "/opt/run", true, false, 0);
        s.launchProgram = false;
        QCOMPARE(s.programText(), QString());
        QCOMPARE(s.entry().launch, QString(""));
        s.launchProgram = true;
        QCOMPARE(s.programText(), QStringLiteral("/opt/run"));
        QVERIFY(s.okEnabled());
    }

    void chooseProgram() {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("my tool.sh"));
        const QString plain = dir.filePath(QStringLiteral("notes.com"));
        for (const QString& path : {script, plain}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));

        ScheduleEditorState s = editor(true, "", true, false, 0);
        QCOMPARE(s.dialogStart(), QDir::homePath()); // never the file system's root
        QCOMPARE(s.chooseProgram(script), QString());
        // Quoted, so that arguments typed after it stay apart from the path.
        QCOMPARE(s.program, '"' + script + '"');
        QCOMPARE(s.dialogStart(), script);
        QCOMPARE(s.programProblem(), QString());
        // Refused with the reason, old path kept. Cancelled: nothing said, nothing changes.
        QVERIFY(s.chooseProgram(plain).contains(QLatin1String("not marked as a program")));
        QVERIFY(s.chooseProgram(dir.path()).contains(QLatin1String("not a file")));
        QCOMPARE(s.chooseProgram(QString()), QString());
        QCOMPARE(s.program, '"' + script + '"');
    }

    // A Launch value read as a desktop entry's Exec line, never by a shell; a value that
    // names an existing file is that program alone, blanks and all.
    void commandLines_data() {
        QTest::addColumn<QString>("launch");
        QTest::addColumn<QStringList>("words"); // the program, then its arguments
        const auto row = [](const char* name, const QString& launch, const QStringList& words) {
            QTest::newRow(name) << launch << words;
        };
        row("bare program", "/usr/bin/true", {"/usr/bin/true"});
        row("arguments", "/usr/bin/rsync -a  /src\\t/dst", {"/usr/bin/rsync", "-a", "/src\\t/dst"});
        row("quoted blanks", "\"/opt/my tool/run\" \"a b\" c", {"/opt/my tool/run", "a b", "c"});
        row("escapes in quotes", "/bin/echo \"say \\\"hi\\\" \\\\ \\$HOME \\`x\\`\"",
            {"/bin/echo", "say \"hi\" \\ $HOME `x`"});
        row("no shell", "/bin/echo $HOME; rm -rf ~ | cat > f",
            {"/bin/echo", "$HOME;", "rm", "-rf", "~", "|", "cat", ">", "f"});
        row("percent", "/bin/date +%%H %f", {"/bin/date", "+%H"});
        row("nothing", "   ", {});
    }
    void commandLines() {
        QFETCH(QString, launch);
        QFETCH(QStringList, words);
        const ScheduledCommand::Command c = ScheduledCommand::split(launch);
        QCOMPARE(QStringList(c.program) + c.arguments, words.isEmpty() ? QStringList{""} : words);
    }

    // Quoting a chosen path gives it back whole; a path that needs none stays as it is; a
    // stored bare path with blanks that exists is one program.
    void quotedPathsSplitBack() {
        QTemporaryDir dir;
        for (const QString& name : {QStringLiteral("plain"), QStringLiteral("my tool"),
                                    QStringLiteral("odd \"q\" \\b $v `c` 50%")}) {
            const QString path = dir.filePath(name);
            QCOMPARE(ScheduledCommand::split(ScheduledCommand::quoted(path) + " --x").program,
                     path);
            QCOMPARE(ScheduledCommand::split(ScheduledCommand::quoted(path) + " --x").arguments,
                     QStringList{"--x"});
        }
        QCOMPARE(ScheduledCommand::quoted("/usr/bin/true"), "/usr/bin/true");
        const QString spaced = dir.filePath(QStringLiteral("my tool"));
        QFile f(spaced);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(ScheduledCommand::split(spaced).program, spaced);
        QCOMPARE(ScheduledCommand::split(spaced).arguments, QStringList());
    }

    // A time typed in one go, with or without AM and PM.
    void typedTimes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("time"); // HH:mm, empty when refused
        const std::pair<const char*, const char*> rows[] = {
            {"21:45", "21:45"},  {"9:45 pm", "21:45"}, {"9.45PM", "21:45"}, {"0945", "09:45"},
            {"945p", "21:45"},   {"7", "07:00"},       {"12 am", "00:00"},  {"12:05 P.M.", "12:05"},
            {" 0:00 ", "00:00"}, {"23h59", "23:59"},   {"24:00", ""},       {"13 pm", ""},
            {"0 am", ""},        {"9:60", ""},         {"9:5", ""},         {"", ""},
            {"noon", ""},        {"12345", ""}};
        for (const auto& [typed, time] : rows)
            QTest::newRow(typed) << QString::fromLatin1(typed) << QString::fromLatin1(time);
    }
    void typedTimes() {
        QFETCH(QString, typed);
        QFETCH(QString, time);
        const std::optional<QTime> read = TypedTime::read(typed, QLocale(QLocale::English));
        QCOMPARE(read ? read->toString("HH:mm") : QString(), time);
    }

    // OK says why a command line cannot be started: no program, a bare name (with the full
    // path it stands for when one is found), a missing file, a file that is not a program.
    void commandProblems() {
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("notes.txt"));
        QFile f(plain);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const auto problem = [](const QString& launch) {
            return ScheduledCommand::problem(launch);
        };
        QCOMPARE(problem("/bin/sh -c true"), QString());
        QVERIFY(problem("").startsWith("Type the program to run"));
        QVERIFY(problem("sh -c true").contains("full path: /"));
        QVERIFY(problem("no-such-program-here").contains("was not found"));
        QVERIFY(problem(dir.filePath("missing") + " x").contains("is not a file"));
        QVERIFY(problem(QChar(u'"') + plain + QStringLiteral("\" x"))
                    .contains("not marked as a program"));
        // Shutting down and a note's alarm have no program to check.
        QCOMPARE(editor(false, "", true, false, 0).programProblem(), QString());
        QCOMPARE(editor(true, "", true, false, 0, true).programProblem(), QString());
        QVERIFY(!editor(true, "sh", true, false, 0).programProblem().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestScheduleRules)
#include "tst_schedulerules.moc"
