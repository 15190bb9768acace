#include "core/DataFile.h"
#include "core/Schema.h"
#include "core/Twips.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "scheduler/ScheduleStore.h"
#include "scheduler/ui/EditSch.h"
#include "scheduler/ui/Schedule.h"

#include <QAccessible>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using Answer = std::function<std::optional<ScheduleEditorState>(ScheduleEditorState)>;

class TestScheduleWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock{QDateTime(QDate(2026, 3, 10), QTime(8, 30, 45))};
    FakeDesktop m_desktop;
    std::unique_ptr<AppContext> m_context;
    QList<ScheduleEditorState> m_presets; // what the editor was opened with
    Answer m_answer;                      // what the user confirms; nullopt for Cancel

    void sql(const QString& statement) {
        DataFile db(m_context->paths.dataFile());
        QVERIFY2(db.exec(statement), qPrintable(db.lastError()));
    }
    QStringList table() {
        QStringList out;
        DataFile db(m_context->paths.dataFile());
        db.forEach(QStringLiteral("SELECT SchType, Launch, SchDT, Frequency FROM Schedule "
                                  "ORDER BY SchDT, rowid"),
                   {}, [&](DataFile::Row q) {
                       out << QStringLiteral("%1 %2 %3 %4")
                                  .arg(q.value(0).toInt())
                                  .arg(q.value(1).toString(), q.value(2).toString())
                                  .arg(q.value(3).toInt());
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
        const QTableWidgetItem* it = page.grid()->item(line, column);
        return it ? it->text() : QString();
    }
    static QStringList lineTexts(Schedule& page, int line) {
        QStringList out;
        for (int c = Schedule::MarkCol; c <= Schedule::PosCol; ++c)
            out << cell(page, line, c);
        return out;
    }
    static void doubleClick(Schedule& page, int line, int column) {
        QTableWidget* grid = page.grid();
        grid->scrollToItem(grid->item(line, column));
        const QPoint at = grid->visualItemRect(grid->item(line, column)).center();
        // A double-click is a click, then the second press that the window system reports
        // as the double-click.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    }
    static bool struck(Schedule& page, int line) {
        bool all = true;
        for (int c = Schedule::TypeCol; c <= Schedule::FreqCol; ++c)
            all = all && page.grid()->item(line, c)->font().strikeOut();
        return all;
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
    }

    void init() {
        QFile::remove(m_context->paths.dataFile());
        QCOMPARE(Schema::createTemplate(m_context->paths.dataFile(), QDate(2026, 1, 15)),
                 QString());
        sql("INSERT INTO Schedule VALUES (1, '/opt/my tools/b', '2026-03-12 19:05', 3),"
            " (2, 'H', '2026-03-11 07:00', 1), (2, '', '2026-03-13 00:00', 0),"
            " (9, 'x', '2026-03-10 06:00', 2)");
        m_presets.clear();
        m_answer = nullptr;
        m_desktop.dialogs.messages.clear();
    }

    void listsTheEntriesInSchDTOrder() {
        auto page = open();
        QTableWidget* grid = page->grid();
        QCOMPARE(page->windowTitle(), "Power Scheduler");
        QCOMPARE(page->objectName(), "Schedule");
        QCOMPARE(grid->objectName(), "SchGrid");
        QCOMPARE(grid->rowCount(), 100);
        QCOMPARE(lineTexts(*page, 0), (QStringList{"", "", "", "3/10/26 6:00 AM", "daily", "0"}));
        QCOMPARE(lineTexts(*page, 1), (QStringList{"", "Shut Down System", "On Hibernation",
                                                   "3/11/26 7:00 AM", "one time", "1"}));
        QCOMPARE(lineTexts(*page, 2), (QStringList{"", "Launch Program", "/opt/my tools/b",
                                                   "3/12/26 7:05 PM", "weekly", "2"}));
        QCOMPARE(lineTexts(*page, 3),
                 (QStringList{"", "Shut Down System", "Shut down the computer and power off.",
                              "3/13/26 12:00 AM", "none", "3"}));
        QCOMPARE(lineTexts(*page, 4), QStringList(6, QString()));

        const auto ink = [&](int line, int column) {
            return grid->item(line, column)->foreground().color();
        };
        const QColor grey = grid->palette().color(QPalette::Disabled, QPalette::WindowText);
        QCOMPARE(ink(1, Schedule::TypeCol), QColor(128, 0, 0));
        QCOMPARE(ink(2, Schedule::TypeCol), QColor(0, 128, 0));
        QCOMPARE(ink(0, Schedule::TypeCol), QColor(0, 0, 0));
        for (int c = Schedule::TypeCol; c <= Schedule::FreqCol; ++c)
            QCOMPARE(ink(3, c), grey);
        QCOMPARE(ink(2, Schedule::WhenCol),
                 grid->palette().color(QPalette::Active, QPalette::WindowText));

        // The header, the alignments, and the position column far beyond the visible width.
        QHeaderView* header = grid->horizontalHeader();
        QStringList heads;
        for (int c = 0; c < Schedule::ColumnCount; ++c)
            heads << grid->horizontalHeaderItem(c)->text();
        QCOMPARE(heads, (QStringList{"X", "Type", "Description", "Date & Time", "Frequency", ""}));
        for (int c = Schedule::MarkCol; c <= Schedule::FreqCol; ++c)
            QVERIFY(grid->horizontalHeaderItem(c)->textAlignment() & Qt::AlignHCenter);
        QVERIFY(header->height() >= Twips::toPixels(Schedule::HeaderTwips));
        QCOMPARE(grid->item(2, Schedule::DescCol)->textAlignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignLeft);
        QCOMPARE(grid->item(2, Schedule::FreqCol)->textAlignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(grid->item(2, Schedule::PosCol)->textAlignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QCOMPARE(grid->columnWidth(Schedule::PosCol),
                 Twips::toPixels(Schedule::PositionColumnTwips));
        QCOMPARE(grid->columnViewportPosition(Schedule::PosCol), grid->viewport()->width());
        QVERIFY(!QAccessible::queryAccessibleInterface(grid)->text(QAccessible::Name).isEmpty());
    }

    // The mark toggles on the X column; a marked line opens no editor.
    void doubleClickMarks() {
        auto page = open();
        doubleClick(*page, 2, Schedule::MarkCol);
        const QTableWidgetItem* mark = page->grid()->item(2, Schedule::MarkCol);
        QCOMPARE(mark->text(), "X");
        QCOMPARE(mark->foreground().color(), QColor(255, 0, 0));
        QVERIFY(mark->font().bold());
        QCOMPARE(mark->font().pointSize(), 10);
        QVERIFY(struck(*page, 2));
        QVERIFY(!struck(*page, 1));
        QCOMPARE(page->grid()->currentColumn(), int(Schedule::MarkCol));

        doubleClick(*page, 2, Schedule::WhenCol);
        QVERIFY(m_presets.isEmpty());
        doubleClick(*page, 2, Schedule::MarkCol);
        QCOMPARE(cell(*page, 2, Schedule::MarkCol), QString());
        QVERIFY(!struck(*page, 2));
    }

    // The editor opens on the line's entry (or its defaults on an empty line) and what it
    // confirms goes into that line's entry; Cancel writes nothing.
    void doubleClickEdits() {
        auto page = open();
        const QStringList before = table();
        doubleClick(*page, 2, Schedule::DescCol);
        QCOMPARE(m_presets.size(), 1);
        QCOMPARE(m_presets[0].program, "/opt/my tools/b");
        QCOMPARE(m_presets[0].freqOption, 1);
        QCOMPARE(table(), before);

        m_answer = [](ScheduleEditorState s) {
            s.freqOption = 3;
            return s;
        };
        doubleClick(*page, 2, Schedule::WhenCol);
        QCOMPARE(cell(*page, 2, Schedule::FreqCol), "yearly");
        QVERIFY(table().contains("1 /opt/my tools/b 2026-03-12 19:05 5"));

        // Another type opens as "Shut Down System" and is saved as one.
        m_answer = [](ScheduleEditorState s) { return s; };
        doubleClick(*page, 0, Schedule::TypeCol);
        QVERIFY(!m_presets.last().launchProgram);
        QCOMPARE(cell(*page, 0, Schedule::TypeCol), "Shut Down System");
        QVERIFY(table().contains("2  2026-03-10 06:00 2"));

        // An empty line: the editor's defaults, and the new entry stays on that line.
        m_answer = [](ScheduleEditorState s) {
            s.program = QStringLiteral("/bin/true");
            s.oneTime = true;
            return s;
        };
        doubleClick(*page, 7, Schedule::FreqCol);
        QCOMPARE(QDateTime(m_presets.last().date, m_presets.last().time),
                 QDateTime(QDate(2026, 3, 10), QTime(8, 30)));
        QCOMPARE(lineTexts(*page, 7), (QStringList{"", "Launch Program", "/bin/true",
                                                   "3/10/26 8:30 AM", "one time", "7"}));
        QVERIFY(table().contains("1 /bin/true 2026-03-10 08:30 1"));
        QVERIFY(m_desktop.dialogs.messages.isEmpty());
    }

    // An entry another program changed while the editor was open is not overwritten: the
    // user is told and the list shows the table as it is, keeping the other marks.
    void anEntryChangedMeanwhileIsKept() {
        auto page = open();
        doubleClick(*page, 1, Schedule::MarkCol);
        m_answer = [this](ScheduleEditorState s) {
            sql("UPDATE Schedule SET Launch = '/opt/theirs' WHERE Launch = '/opt/my tools/b'");
            s.program = QStringLiteral("/opt/mine");
            return s;
        };
        doubleClick(*page, 2, Schedule::DescCol);
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QCOMPARE(m_desktop.dialogs.messages[0].title, "Plumora");
        QVERIFY(table().contains("1 /opt/theirs 2026-03-12 19:05 3"));
        QCOMPARE(cell(*page, 2, Schedule::DescCol), "/opt/theirs");
        QCOMPARE(cell(*page, 1, Schedule::MarkCol), "X");
    }

    // Leaving the page deletes the marked entries and the rows already at type 0, and the
    // list is read again when it comes back; a failure keeps the marks for the next try.
    void leavingAppliesTheMarks() {
        sql("INSERT INTO Schedule VALUES (0, 'gone', '2026-03-09 10:00', 2)");
        auto page = open();
        QCOMPARE(cell(*page, 0, Schedule::DescCol), "");
        doubleClick(*page, 3, Schedule::MarkCol);

        sql("ALTER TABLE Schedule RENAME TO Elsewhere");
        page->aboutToHide();
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        sql("ALTER TABLE Elsewhere RENAME TO Schedule");
        page->activated();
        QCOMPARE(cell(*page, 3, Schedule::MarkCol), "X");

        page->aboutToHide();
        QCOMPARE(table(), (QStringList{"9 x 2026-03-10 06:00 2", "2 H 2026-03-11 07:00 1",
                                       "2  2026-03-13 00:00 0"}));
        page->activated();
        QCOMPARE(cell(*page, 2, Schedule::DescCol), "Shut down the computer and power off.");
        QCOMPARE(cell(*page, 2, Schedule::MarkCol), "");
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
    }

    // Enter edits, Space and Delete mark: the list works without a mouse.
    void keys() {
        auto page = open();
        QTableWidget* grid = page->grid();
        grid->setFocus();
        grid->setCurrentCell(1, Schedule::DescCol);
        QTest::keyClick(grid, Qt::Key_Space);
        QCOMPARE(cell(*page, 1, Schedule::MarkCol), "X");
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(m_presets.isEmpty());
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(cell(*page, 1, Schedule::MarkCol), "");
        QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(m_presets.size(), 1);
        QVERIFY(m_presets[0].hibernate);
        // The arrows never reach the position column.
        grid->setCurrentCell(1, Schedule::FreqCol);
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(grid->currentColumn(), int(Schedule::FreqCol));
    }

    // More entries than lines: the grid grows, always with an empty line to add one more.
    void manyEntriesGrowTheGrid() {
        {
            DataFile db(m_context->paths.dataFile());
            Transaction transaction(db);
            for (int i = 0; i < 120; ++i)
                QVERIFY(db.exec(
                    QStringLiteral("INSERT INTO Schedule VALUES (1, ?, ?, 2)"),
                    {QStringLiteral("/bin/%1").arg(i), QStringLiteral("2027-01-01 10:00")}));
            QVERIFY(transaction.commit());
        }
        auto page = open();
        QCOMPARE(page->grid()->rowCount(), 125);
        QCOMPARE(cell(*page, 123, Schedule::DescCol), "/bin/119");
        m_answer = [](ScheduleEditorState s) {
            s.program = QStringLiteral("/bin/new");
            return s;
        };
        doubleClick(*page, 124, Schedule::DescCol);
        QCOMPARE(page->grid()->rowCount(), 126);
        QCOMPARE(cell(*page, 124, Schedule::DescCol), "/bin/new");
    }

    // The grid fills the page less fixed margins; a page too small keeps the grid's size.
    void followsTheHost() {
        auto page = open();
        page->resize(900, 600);
        page->hostResized();
        const QRect grid = page->grid()->geometry();
        QCOMPARE(grid.size(), QSize(900 - Twips::toPixels(Schedule::SpareWidthTwips),
                                    600 - Twips::toPixels(Schedule::SpareHeightTwips)));
        page->resize(30, 120);
        QCOMPARE(page->grid()->size(), grid.size());
        QVERIFY(page->findChild<QLabel*>("HintLb")->geometry().top() > grid.bottom());
    }

    void screenshots() {
        const QString folder = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(folder));
        const QString scale = QString::number(qApp->devicePixelRatio());
        auto page = open();
        doubleClick(*page, 3, Schedule::MarkCol);
        QVERIFY(page->grab().save(folder + QStringLiteral("/schedule-x%1.png").arg(scale)));

        ScheduleEditorState s = ScheduleEditorState::fresh(m_clock);
        s.program = QStringLiteral("/opt/my tools/backup-the-photos-folder.sh");
        for (bool reminder : {false, true}) {
            s.reminderMode = reminder;
            EditSch editor(s);
            editor.show();
            QVERIFY(editor.grab().save(
                folder +
                QStringLiteral("/editsch%1-x%2.png").arg(reminder ? "-reminder" : "", scale)));
        }
    }
};

QTEST_MAIN(TestScheduleWindow)
#include "tst_schedulewindow.moc"
