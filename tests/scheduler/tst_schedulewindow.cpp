// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "scheduler/ui/Schedule.h"
#include "scheduler/ui/ScheduleEditor.h"
#include "shell/Twips.h"
#include "shell/ui/CommandDispatcher.h"
#include "shell/ui/HelpWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>

namespace {

template <typename T = QWidget> T* control(QWidget& w, const char* name, int index = 0) {
    for (T* c : w.findChildren<T*>(QLatin1String(name)))
        if (c->property("index").toInt() == index)
            return c;
    return nullptr;
}
QString tag(QWidget& d) {
    return control(d, "FreqFrame")->property("tag").toString();
}
void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
}

// Counts the mouse presses reaching a window: one blocked by a modal dialog gets none.
struct PressCounter : QObject {
    int presses = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        presses += e->type() == QEvent::MouseButtonPress;
        return false;
    }
};

} // namespace

class TestScheduleWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock{QDateTime(QDate(2026, 3, 10), QTime(8, 30, 45))};
    FakeDesktop m_desktop;
    std::unique_ptr<AppContext> m_context;
    QList<ScheduleEditorState> m_presets; // what the page opened the editor with
    std::function<std::optional<ScheduleEditorState>(ScheduleEditorState)> m_answer;

    void sql(const QString& statement) {
        DataFile db(m_context->paths.dataFile());
        QVERIFY2(db.exec(statement), qPrintable(db.lastError()));
    }
    QStringList table() {
        QStringList out;
        DataFile(m_context->paths.dataFile())
            .forEach(QStringLiteral("SELECT SchType || ' ' || Launch || ' ' || Frequency "
                                    "FROM Schedule ORDER BY SchDT, rowid"),
                     {}, [&](DataFile::Row q) {
                         out << q.value(0).toString();
                         return true;
                     });
        return out;
    }
    std::unique_ptr<Schedule> open() {
        auto page = std::make_unique<Schedule>(*m_context);
        page->setEditor([this](QWidget*, const ScheduleEditorState& preset) {
            m_presets << preset;
            return m_answer ? m_answer(preset) : std::nullopt;
        });
        page->resize(800, 520);
        page->show();
        page->activated();
        return page;
    }
    static QString cell(Schedule& page, int line, int column) {
        return page.grid()->item(line, column)->text();
    }
    static void doubleClick(Schedule& page, int line, int column) {
        QTableWidget* grid = page.grid();
        grid->scrollToItem(grid->item(line, column));
        const QPoint at = grid->visualItemRect(grid->item(line, column)).center();
        // The window system reports a click, then a second press as the double-click.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // The list writes its dates in the locale of the time formats.
        qputenv("LC_TIME", "en_US.UTF-8");
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
    }

    void init() {
        QFile::remove(m_context->paths.dataFile());
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), QDate(2026, 1, 15)),
                 "");
        sql("INSERT INTO Schedule VALUES (1, '/opt/b', '2026-03-12 19:05', 3),"
            " (2, 'H', '2026-03-11 07:00', 1), (2, '', '2026-03-13 00:00', 0),"
            " (9, 'x', '2026-03-10 06:00', 2)");
        m_presets.clear();
        m_answer = nullptr;
        m_desktop.dialogs.messages.clear();
    }

    // Clicks on the editor's controls and what the dialog shows after them.
    void editorClicks_data() {
        QTest::addColumn<ScheduleEditorState>("preset");
        QTest::addColumn<QStringList>("clicks"); // objectName:index
        QTest::addColumn<QString>("shown");      // OK, RunEdit, when enabled, frame, hibernate, tag
        ScheduleEditorState s = ScheduleEditorState::fresh(FakeClock());
        QTest::newRow("new launch waits for a program") << s << QStringList{} << "0||1|1|0|2";
        QTest::newRow("shut down needs none") << s << QStringList{"TypeOpt:1"} << "1||1|1|1|2";
        s.program = QStringLiteral("/bin/sh");
        QTest::newRow("back to launch shows the path again")
            << s << QStringList{"TypeOpt:1", "TypeOpt:0"} << "1|/bin/sh|1|1|0|2";
        QTest::newRow("inactive greys the when")
            << s << QStringList{"FreqOpt:3", "IsActiveChk:0"} << "1|/bin/sh|0|1|0|0";
        QTest::newRow("one time hides the options")
            << s << QStringList{"OneTimeChk:0"} << "1|/bin/sh|1|0|0|1";
        s = ScheduleEditorState::fresh(FakeClock());
        s.reminderMode = true;
        s.launchProgram = false;
        s.freqOption = -1; // an alarm that never had a frequency
        QTest::newRow("reminder: no program, never hibernation")
            << s << QStringList{} << "1||1|1|0|0";
        QTest::newRow("reminder: an option chosen")
            << s << QStringList{"FreqOpt:3"} << "1||1|1|0|5";
    }
    void editorClicks() {
        QFETCH(ScheduleEditorState, preset);
        QFETCH(QStringList, clicks);
        ScheduleEditor d(preset);
        d.show();
        for (const QString& c : clicks)
            click(control(d, qPrintable(c.section(u':', 0, 0)), c.section(u':', 1).toInt()));
        const auto shown = [&](const char* name) { return control(d, name)->isVisible(); };
        QTEST(
            QStringLiteral("%1|%2|%3|%4|%5|%6")
                .arg(control(d, "OKBtn")->isEnabled())
                .arg(control<QLineEdit>(d, "RunEdit")->text())
                .arg(control(d, "SchTimeDT")->isEnabled() && control(d, "FreqOpt", 2)->isEnabled())
                .arg(shown("FreqFrame"))
                .arg(shown("HibernateChk"))
                .arg(tag(d)),
            "shown");
        const bool launch = control<QRadioButton>(d, "TypeOpt")->isChecked();
        QCOMPARE(control(d, "TypeOpt", 1)->palette().color(QPalette::WindowText),
                 launch ? QColor(64, 64, 64) : QColor(128, 0, 0));
        // Reminder mode asks only when and how often, so the dialog is shorter.
        QCOMPARE(shown("RemindLb"), preset.reminderMode);
        QCOMPARE(shown("TypeOpt") && shown("RunEdit") && shown("RunBtn"), !preset.reminderMode);
        QCOMPARE(d.height() < ScheduleEditor(ScheduleEditorState()).sizeHint().height(),
                 preset.reminderMode);
    }

    // The Run field takes a command line; OK keeps it when its program can be started, and
    // otherwise says why and stays open. Shutting down hides the line and keeps it.
    void editorTakesATypedCommand() {
        ScheduleEditor d(ScheduleEditorState::fresh(FakeClock()));
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(control<QCheckBox>(d, "OneTimeChk")->text(), "This is a one-time schedule");
        auto* run = control<QLineEdit>(d, "RunEdit");
        QCOMPARE(QAccessible::queryAccessibleInterface(run)->text(QAccessible::Name),
                 "Program to run");
        QVERIFY(!control(d, "OKBtn")->isEnabled());
        run->setFocus();
        QTest::keyClicks(run, "sh -c true");
        QVERIFY(control(d, "OKBtn")->isEnabled());
        bool told = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            told = box && box->text().contains("full path");
            if (box)
                box->accept();
        });
        control<QPushButton>(d, "OKBtn")->click();
        QVERIFY(told);
        QVERIFY(d.isVisible() && !d.confirmed());
        run->clear();
        QTest::keyClicks(run, "/bin/sh -c \"echo hi\"");
        click(control(d, "TypeOpt", 1));
        QCOMPARE(run->text(), QString());
        click(control(d, "TypeOpt", 0));
        QCOMPARE(run->text(), "/bin/sh -c \"echo hi\"");
        control<QPushButton>(d, "OKBtn")->click();
        QVERIFY(d.confirmed());
        QCOMPARE(d.state().entry().launch, "/bin/sh -c \"echo hi\"");
    }

    // A time typed into the time box in one go becomes its time when the box is left or
    // Enter is pressed; what does not read as a time leaves it; Esc takes the typing back.
    void typedTimeChangesTheTimeBox() {
        ScheduleEditorState preset = ScheduleEditorState::fresh(FakeClock());
        preset.time = QTime(8, 30);
        ScheduleEditor d(preset);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        auto* box = control<QTimeEdit>(d, "SchTimeDT");
        const auto typed = [&](const QString& keys, Qt::Key end) {
            box->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(box, keys);
            QTest::keyClick(box, end);
            return d.state().time.toString("HH:mm");
        };
        QCOMPARE(typed("21:45", Qt::Key_Tab), "21:45");
        QVERIFY(!box->hasFocus()); // Tab went on to the next control
        QCOMPARE(box->text(), "09:45 PM");
        QCOMPARE(typed("9:15 am", Qt::Key_Return), "09:15");
        QCOMPARE(typed("945p", Qt::Key_Enter), "21:45");
        QCOMPARE(typed("25:00", Qt::Key_Return), "21:45");
        QCOMPARE(typed("7", Qt::Key_Escape), "21:45");
        QCOMPARE(box->text(), "09:45 PM");
        // The arrows still step the section they are in.
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(d.state().time, QTime(22, 45));
    }

    // edit() gives the answers of OK and nothing for the close box. While the editor is open,
    // F1 shows its topic in a help window that takes the mouse; the owner window does not.
    void editorResultAndHelp() {
        QDir(m_dir.path()).mkpath(QStringLiteral("help"));
        for (const char* topic : {"help/index.htm", "help/editsch.htm"})
            QVERIFY(QFile(m_dir.filePath(QLatin1String(topic))).open(QIODevice::WriteOnly));
        CommandDispatcher dispatcher(*m_context);
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        PressCounter ownerPresses, helpPresses;
        owner.windowHandle()->installEventFilter(&ownerPresses);
        QTimer::singleShot(0, this, [&] {
            auto* d = owner.findChild<ScheduleEditor*>();
            for (QWidget* w : d->findChildren<QWidget*>()) // every control says what it is
                QVERIFY2(w->focusPolicy() == Qt::NoFocus || !w->isVisible() ||
                             w->objectName().startsWith(QLatin1String("qt_")) ||
                             !QAccessible::queryAccessibleInterface(w)
                                  ->text(QAccessible::Name)
                                  .isEmpty(),
                         qPrintable(w->objectName()));
            QTest::keyClick(control(*d, "SchDateDT"), Qt::Key_F1);
            HelpWindow* help = dispatcher.helpWindow();
            QCOMPARE(help->currentTopic(), "editsch.htm");
            help->windowHandle()->installEventFilter(&helpPresses);
            QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
            QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
            control<QDateEdit>(*d, "SchDateDT")->setDate(QDate(2027, 1, 2));
            control<QPushButton>(*d, "OKBtn")->click();
        });
        ScheduleEditorState alarm = ScheduleEditorState::fresh(m_clock);
        alarm.reminderMode = true;
        const auto answer = ScheduleEditor::edit(alarm, &owner);
        QCOMPARE(helpPresses.presses, 1);
        QCOMPARE(ownerPresses.presses, 0);
        QVERIFY(answer && answer->reminderMode);
        QCOMPARE(answer->date, QDate(2027, 1, 2));
        QVERIFY(!owner.findChild<ScheduleEditor*>());
        QTimer::singleShot(0, this, [&] { owner.findChild<ScheduleEditor*>()->close(); });
        QVERIFY(!ScheduleEditor::edit(alarm, &owner));
    }

    // The entries in SchDT order, then empty lines; more than 100 entries grow the grid.
    void pageLists() {
        auto page = open();
        QTableWidget* grid = page->grid();
        QCOMPARE(grid->rowCount(), 100);
        QStringList lines;
        for (int line = 0; line < 5; ++line) {
            for (int c = Schedule::TypeCol; c <= Schedule::FreqCol; ++c)
                lines << cell(*page, line, c);
            lines << grid->item(line, Schedule::MarkCol)->data(Schedule::PositionRole).toString();
        }
        QCOMPARE(lines.join(u'|'),
                 "||3/10/26 6:00 AM|daily|0|"
                 "Shut Down System|On Hibernation|3/11/26 7:00 AM|one time|1|"
                 "Launch Program|/opt/b|3/12/26 7:05 PM|weekly|2|"
                 "Shut Down System|Shut down the computer and power off.|3/13/26 12:00 AM|none|3|"
                 "||||");
        const auto ink = [&](int line, int c) { return grid->item(line, c)->foreground().color(); };
        QCOMPARE(ink(1, Schedule::TypeCol), QColor(128, 0, 0));
        QCOMPARE(ink(2, Schedule::TypeCol), QColor(0, 128, 0));
        QCOMPARE(ink(3, Schedule::TypeCol), ink(3, Schedule::FreqCol));
        QCOMPARE(ink(3, Schedule::FreqCol),
                 grid->palette().color(QPalette::Disabled, QPalette::WindowText));
        QVERIFY(grid->horizontalHeader()->height() >= Twips::toPixels(Schedule::HeaderTwips));
        // A screen reader finds the five visible columns and no line's position.
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(grid)->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->columnCount(), int(Schedule::ColumnCount));
        QCOMPARE(table->columnCount(), 5);
        QCOMPARE(table->cellAt(0, Schedule::FreqCol)->text(QAccessible::Name), "daily");
        for (int c = 0; c < table->columnCount(); ++c)
            QCOMPARE_NE(table->cellAt(3, c)->text(QAccessible::Name), "3");
        // The description column takes the width the others leave; arrows stop at Frequency.
        QCOMPARE(grid->columnViewportPosition(Schedule::FreqCol) +
                     grid->columnWidth(Schedule::FreqCol),
                 grid->viewport()->width());
        grid->setCurrentCell(1, Schedule::FreqCol);
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(grid->currentColumn(), int(Schedule::FreqCol));

        sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
            "INSERT INTO Schedule SELECT 1, '/bin/a', '2027-01-01 10:00', 2 FROM n");
        page->close();
        page->show();
        page->activated();
        QCOMPARE(grid->rowCount(), 105);
    }

    // Marks by double-click, Space or Delete; the editor by double-click or Enter, never on a
    // marked line, saving into the line's own entry (a new one on an empty line).
    void pageMarksAndEdits() {
        auto page = open();
        QTableWidget* grid = page->grid();
        doubleClick(*page, 2, Schedule::MarkCol);
        const QTableWidgetItem* mark = grid->item(2, Schedule::MarkCol);
        QCOMPARE(mark->text(), "X");
        // A screen reader says what the X means; an unmarked entry and an empty line too.
        QAccessibleTableInterface* cells =
            QAccessible::queryAccessibleInterface(grid)->tableInterface();
        QCOMPARE(cells->cellAt(2, Schedule::MarkCol)->text(QAccessible::Name),
                 "Marked for deletion");
        QCOMPARE(cells->cellAt(1, Schedule::MarkCol)->text(QAccessible::Name), "Not marked");
        QCOMPARE(cells->cellAt(7, Schedule::MarkCol)->text(QAccessible::Name), QString());
        QVERIFY(mark->font().bold() && mark->font().pointSize() == 10);
        QCOMPARE(mark->foreground().color(), QColor(255, 0, 0));
        QVERIFY(grid->item(2, Schedule::WhenCol)->font().strikeOut());
        doubleClick(*page, 2, Schedule::DescCol);
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(m_presets.isEmpty());
        QTest::keyClick(grid, Qt::Key_Delete);
        QVERIFY(!grid->item(2, Schedule::WhenCol)->font().strikeOut());

        m_answer = [](ScheduleEditorState s) {
            s.freqOption = 3;
            return s;
        };
        QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(m_presets.last().program, "/opt/b");
        doubleClick(*page, 0, Schedule::TypeCol); // another type is saved as a shut-down
        m_answer = [](ScheduleEditorState s) {
            s.program = QStringLiteral("/bin/true");
            return s;
        };
        doubleClick(*page, 7, Schedule::FreqCol);
        QCOMPARE(cell(*page, 7, Schedule::DescCol), "/bin/true");
        QCOMPARE(table(), (QStringList{"2  5", "1 /bin/true 2", "2 H 1", "1 /opt/b 5", "2  0"}));
        QVERIFY(m_desktop.dialogs.messages.isEmpty());
    }

    // An entry another program changed meanwhile is not overwritten: the user is told and the
    // list shows the table as it is, keeping the other marks.
    void pageEntryChangedMeanwhile() {
        auto page = open();
        doubleClick(*page, 1, Schedule::MarkCol);
        m_answer = [this](ScheduleEditorState s) {
            sql("UPDATE Schedule SET Launch = '/opt/theirs' WHERE Launch = '/opt/b'");
            return s;
        };
        doubleClick(*page, 2, Schedule::DescCol);
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QVERIFY(table().contains("1 /opt/theirs 3"));
        QCOMPARE(cell(*page, 2, Schedule::DescCol), "/opt/theirs");
        QCOMPARE(cell(*page, 1, Schedule::MarkCol), "X");
    }

    // Another tool shown and back keeps the marks. Closing the window deletes the marked
    // entries and those already at type 0; a failure is told and keeps the marks for the
    // next time. The window hiding deletes them too.
    void pageClosingAppliesTheMarks() {
        sql("INSERT INTO Schedule VALUES (0, 'gone', '2026-03-09 10:00', 2)");
        QWidget host; // the main window
        auto* page = new Schedule(*m_context, &host);
        page->setEditor([](QWidget*, const ScheduleEditorState&) { return std::nullopt; });
        host.resize(800, 520);
        page->resize(800, 520);
        host.show();
        page->activated();
        const QStringList before = table();
        doubleClick(*page, 3, Schedule::MarkCol);
        page->aboutToHide();
        page->hide();
        page->show();
        page->activated();
        QCOMPARE(cell(*page, 3, Schedule::MarkCol), "X");
        QCOMPARE(table(), before);

        sql("ALTER TABLE Schedule RENAME TO Elsewhere");
        page->close();
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        sql("ALTER TABLE Elsewhere RENAME TO Schedule");
        page->show();
        page->activated();
        QCOMPARE(cell(*page, 3, Schedule::MarkCol), "X");
        host.hide();
        QCOMPARE(table(), (QStringList{"9 x 2", "2 H 1", "2  0"}));
        host.show();
        page->activated();
        QCOMPARE(cell(*page, 2, Schedule::MarkCol), "");
        QCOMPARE(cell(*page, 2, Schedule::FreqCol), "none");
    }

    // The grid fills the page less fixed margins, and keeps its size in a page too small.
    void pageFollowsTheHost() {
        auto page = open();
        page->resize(900, 600);
        const QSize grid(900 - Twips::toPixels(Schedule::SpareWidthTwips),
                         600 - Twips::toPixels(Schedule::SpareHeightTwips));
        QCOMPARE(page->grid()->size(), grid);
        page->resize(30, 120);
        QCOMPARE(page->grid()->size(), grid);
    }

    void screenshots() {
        const QString folder = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(folder));
        const QString scale = QString::number(qApp->devicePixelRatio());
        auto page = open();
        doubleClick(*page, 3, Schedule::MarkCol);
        QVERIFY(page->grab().save(folder + QStringLiteral("/schedule-x%1.png").arg(scale)));
        ScheduleEditorState s = ScheduleEditorState::fresh(m_clock);
        s.program = QStringLiteral("\"/opt/my tools/backup-photos.sh\" --to \"/media/my disk\"");
        for (bool reminder : {false, true}) {
            s.reminderMode = reminder;
            ScheduleEditor editor(s);
            editor.show();
            QVERIFY(editor.grab().save(
                folder +
                QStringLiteral("/editsch%1-x%2.png").arg(reminder ? "-reminder" : "", scale)));
        }
    }
};

QTEST_MAIN(TestScheduleWindow)
#include "tst_schedulewindow.moc"
