// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventIcons.h"
#include "calendar/EventStore.h"
#include "calendar/WeekStart.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ui/Calendar.h"
#include "calendar/ui/CalendarOptionsGroup.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "shell/ShellTables.h"
#include "shell/ui/CommandDispatcher.h"
#include "shell/ui/MainWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

class TestCalendarWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock{QDateTime(D("2026-03-10"), QTime(9, 0))};
    FakeDesktop m_desktop;
    std::unique_ptr<AppContext> m_context;

    std::unique_ptr<Calendar> open() {
        auto cal = std::make_unique<Calendar>(*m_context);
        cal->resize(900, 640);
        cal->layOutNow();
        return cal;
    }

    // The pointer moving over a widget (offscreen windows have no real pointer).
    static void move(QWidget* w, const QPoint& at) {
        QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

    template <typename T> T* child(Calendar& cal, const char* name) {
        return cal.findChild<T*>(name);
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
    }

    void init() {
        QFile::remove(m_context->paths.dataFile());
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), D("2026-01-15")),
                 QString());
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.addHolidays = true;
            s.addCanada = s.addAmerica = false;
            s.smallIcons = -1;
        }));
        // The hub announces these writes in two turns of the event loop: before the test's
        // window exists.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // The holiday switches are read at creation; nothing is drawn until RefreshTimer lays
    // the window out after it is sized.
    void createdWithTheSettingsAndLaidOutByRefreshTimer() {
        Calendar cal(*m_context);
        QCOMPARE(cal.windowTitle(), "Personal Calendar");
        QVERIFY(child<QCheckBox>(cal, "AddH")->isChecked());
        QVERIFY(!child<QCheckBox>(cal, "AddC")->isChecked());
        QVERIFY(!child<QCheckBox>(cal, "AddA")->isChecked());
        QVERIFY(child<QCheckBox>(cal, "SmIco")->isChecked());
        QCOMPARE(cal.selectedDate(), D("2026-03-10"));
        QCOMPARE(cal.store().queriesRun(), 0);
        QCOMPARE(child<QFrame>(cal, "CalFrame")->size(), QSize(0, 0));
        auto* timer = child<QTimer>(cal, "RefreshTimer");
        QCOMPARE(timer->interval(), 500);
        cal.resize(900, 640);
        cal.show();
        QTRY_VERIFY(!timer->isActive() && cal.store().queriesRun() == 1);
        QCOMPARE(child<QFrame>(cal, "CalFrame")->width(), 900 - 30);
        QCOMPARE(child<QLabel>(cal, "MnYrLb")->text(), "March 2026");
        QCOMPARE(child<QLabel>(cal, "MnYrLb")->property("tag").toInt(), 3);
    }

    void movesWithinTheMonthQueryNothing() {
        auto cal = open();
        auto* grid = cal->findChild<QWidget*>("CalPic");
        auto* shape = cal->findChild<QFrame*>("SelShape");
        const int queries = cal->store().queriesRun();
        const QPoint before = shape->pos();
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(cal->selectedDate(), D("2026-03-18"));
        QVERIFY(shape->pos().y() > before.y() && shape->pos().x() > before.x());
        QCOMPARE(grid->property("tag").toInt(), 24);
        QCOMPARE(cal->store().queriesRun(), queries);

        // Clicking a leading cell selects 22 February and draws February.
        QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(cal->selectedDate(), D("2026-02-22"));
        QCOMPARE(cal->store().queriesRun(), queries + 1);
        QCOMPARE(child<QLabel>(*cal, "MnYrLb")->text(), "February 2026");
    }

    // Each button draws its month; the clamps themselves are MonthLayout's.
    void monthAndYearButtons() {
        auto cal = open();
        auto* next = cal->findChildren<QToolButton*>("MonthBtn").value(1);
        QCOMPARE(next->property("index").toInt(), 1);
        int queries = cal->store().queriesRun();
        child<QToolButton>(*cal, "YearUdUp")->click();
        QCOMPARE(cal->selectedDate(), D("2027-03-10"));
        QCOMPARE(cal->store().queriesRun(), ++queries); // same month number, drawn again
        cal->setSelectedDate(D("9998-12-15"));
        cal->redraw(true);
        next->click(); // past December 9998: today, from the clock
        QCOMPARE(cal->selectedDate(), D("2026-03-10"));
        QCOMPARE(cal->store().queriesRun(), queries += 2);
        cal->setSelectedDate(D("2025-03-20"));
        cal->redraw(false);
        QCOMPARE(cal->store().queriesRun(), ++queries);
        QCOMPARE(child<QLabel>(*cal, "MnYrLb")->text(), "March 2025");
        child<QPushButton>(*cal, "TodayCmd")->click();
        QCOMPARE(cal->selectedDate(), D("2026-03-10"));
        QCOMPARE(cal->findChild<QWidget*>("YearUd")->property("value").toInt(), 2026);
    }

    void pageKeysStepMonthsAndYears_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<QDate>("to");
        QTest::newRow("Page Down")
            << D("2026-01-31") << int(Qt::Key_PageDown) << false << D("2026-02-28");
        QTest::newRow("Page Up") << D("2026-03-10") << int(Qt::Key_PageUp) << false
                                 << D("2026-02-10");
        QTest::newRow("Ctrl+Page Down")
            << D("2026-03-10") << int(Qt::Key_PageDown) << true << D("2027-03-10");
        QTest::newRow("Ctrl+Page Up")
            << D("2024-02-29") << int(Qt::Key_PageUp) << true << D("2023-02-28");
        QTest::newRow("past December 9998: today")
            << D("9998-12-15") << int(Qt::Key_PageDown) << false << D("2026-03-10");
        QTest::newRow("no year after 9999")
            << D("9999-06-01") << int(Qt::Key_PageDown) << true << D("9999-06-01");
        QTest::newRow("no year before 1753")
            << D("1753-06-01") << int(Qt::Key_PageUp) << true << D("1753-06-01");
    }
    void pageKeysStepMonthsAndYears() {
        QFETCH(QDate, from);
        QFETCH(int, key);
        QFETCH(bool, ctrl);
        QFETCH(QDate, to);
        auto cal = open();
        cal->setSelectedDate(from);
        cal->redraw(true);
        QTest::keyClick(cal->findChild<QWidget*>("CalPic"), Qt::Key(key),
                        ctrl ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(cal->selectedDate(), to);
        QCOMPARE(child<QLabel>(*cal, "MnYrLb")->text(),
                 QLocale().toString(to, QStringLiteral("MMMM yyyy")));
    }

    // The grid frames itself in the highlight colour while it has the keyboard focus.
    void theGridShowsItsFocus() {
        auto cal = open();
        cal->show();
        QVERIFY(QTest::qWaitForWindowActive(cal.get()));
        auto* grid = cal->findChild<QWidget*>("CalPic");
        grid->setFocus();
        QVERIFY(grid->hasFocus());
        const QColor highlight = grid->palette().color(QPalette::Highlight);
        QCOMPARE(grid->grab().toImage().pixelColor(grid->width() / 2, 1), highlight);
        child<QWidget>(*cal, "SearchTb")->setFocus();
        QVERIFY(grid->grab().toImage().pixelColor(grid->width() / 2, 1) != highlight);
    }

    // A description with markup, as a downloaded list might carry, is shown as it is written.
    void eventTextsAreShownAsPlainText() {
        const QString markup = QStringLiteral("<h1 style=\"color:red\">BIG RED</h1>");
        QVERIFY(EventStore(m_context->paths.dataFile()).add({makeEvent("2026-03-11", 1, markup)}));
        auto cal = open();
        cal->show();
        auto* grid = cal->findChild<QWidget*>("CalPic");
        auto* tip = child<QLabel>(*cal, "ToolTipLb");
        move(grid, QPoint(grid->width() * 3 / 7 + 20, grid->height() * 2 / 6 + 20));
        QVERIFY(tip->isVisibleTo(cal.get()));
        QCOMPARE(tip->textFormat(), Qt::PlainText);
        QCOMPARE(tip->text(), markup + "\n");
        const QImage shown = tip->grab().toImage();
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                QVERIFY2(!(c.red() > 150 && c.green() < 90 && c.blue() < 90), "red text drawn");
            }
    }

    // Every control a screen reader can reach has a name; the grid tells the selected day
    // and its events.
    void everyControlHasAName() {
        QVERIFY(
            EventStore(m_context->paths.dataFile())
                .add({makeEvent("2026-03-10", 1, "Dentist"), makeEvent("2026-03-10", 1, "Gym")}));
        auto cal = open();
        cal->show();
        for (QWidget* w : cal->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(cal.get()) ||
                (w->focusPolicy() == Qt::NoFocus && !qobject_cast<QAbstractButton*>(w)))
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY(a);
            QVERIFY2(!a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        }
        QAccessibleInterface* grid =
            QAccessible::queryAccessibleInterface(cal->findChild<QWidget*>("CalPic"));
        QCOMPARE(grid->text(QAccessible::Name), "Tuesday, 10 March 2026");
        QCOMPARE(grid->text(QAccessible::Description), "Events: Dentist; Gym");
        QTest::keyClick(cal->findChild<QWidget*>("CalPic"), Qt::Key_Right);
        QCOMPARE(grid->text(QAccessible::Name), "Wednesday, 11 March 2026");
        QCOMPARE(grid->text(QAccessible::Description), "No events.");
    }

    // The open Export menu is reached from the page in the accessibility tree, as a screen
    // reader walks it, with its entries; closed, it is gone from there.
    void openExportMenuIsInTheAccessibleTree() {
        auto cal = open();
        cal->show();
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(cal.get());
        const auto menuInTree = [page]() -> QAccessibleInterface* {
            for (int i = 0; i < page->childCount(); ++i) {
                QAccessibleInterface* c = page->child(i);
                if (c && c->role() == QAccessible::PopupMenu) {
                    if (page->indexOfChild(c) != i)
                        return nullptr;
                    return c;
                }
            }
            return nullptr;
        };
        QVERIFY(!menuInTree());
        const int closedCount = page->childCount();
        child<QPushButton>(*cal, "ExportCmd")->click();
        QAccessibleInterface* menu = menuInTree();
        QVERIFY(menu);
        QCOMPARE(page->childCount(), closedCount + 1);
        QStringList entries;
        for (int i = 0; i < menu->childCount(); ++i)
            entries << menu->child(i)->text(QAccessible::Name);
        QVERIFY2(entries.contains("Selected date") && entries.contains("Coming 7 days"),
                 qPrintable(entries.join(u'|')));
        cal->findChild<QMenu*>("ExportMenu")->close();
        QVERIFY(!menuInTree());
        QCOMPARE(page->childCount(), closedCount);
    }

    void hooksRunOnlyWhenSet() {
        auto cal = open();
        auto* grid = cal->findChild<QWidget*>("CalPic");
        int queries = cal->store().queriesRun();
        QTest::keyClick(grid, Qt::Key_Return);
        child<QPushButton>(*cal, "ExportCmd")->click();
        QCOMPARE(cal->store().queriesRun(), queries);

        int edits = 0;
        QString searched;
        connect(cal.get(), &Calendar::editEventsRequested, this, [&] { ++edits; });
        connect(cal.get(), &Calendar::findNextRequested, this,
                [&](const QString& t) { searched = t; });
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(200, 200));
        child<QPushButton>(*cal, "EditCmd")->click();
        QCOMPARE(edits, 3);
        QCOMPARE(cal->store().queriesRun(), queries + 3);
        // "Export Events" pops up the calendar's own Export menu at the pointer.
        QList<int> exported;
        connect(cal.get(), &Calendar::exportRequested, this, [&](int range) { exported << range; });
        m_desktop.windows.cursor = QPoint(40, 30);
        child<QPushButton>(*cal, "ExportCmd")->click();
        auto* menu = cal->findChild<QMenu*>("ExportMenu");
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(menu->pos(), m_desktop.windows.cursor);
        menu->actions().at(1)->trigger();
        menu->close();
        QCOMPARE(exported, QList<int>{2});

        auto* find = child<QPushButton>(*cal, "FindCmd");
        QVERIFY(!find->isEnabled());
        auto* box = cal->findChild<QWidget*>("SearchTb");
        QTest::keyClicks(box, "dentist");
        QVERIFY(find->isEnabled());
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(searched, "dentist");
    }

    void tooltipShowsThePointedDaysEvents() {
        EventStore store(m_context->paths.dataFile());
        QVERIFY(store.add({makeEvent("2026-03-11", 1, QString(100, u'a')),
                           makeEvent("2026-03-11", 1, "hidden US day", 205)}));
        auto cal = open();
        auto* grid = cal->findChild<QWidget*>("CalPic");
        auto* tip = child<QLabel>(*cal, "ToolTipLb");
        // 11 March is cell 17: row 2, column 3.
        const QPoint cell17(grid->width() * 3 / 7 + 20, grid->height() * 2 / 6 + 20);
        move(grid, cell17);
        QVERIFY(tip->isVisibleTo(cal.get()));
        QCOMPARE(tip->text(), QString(70, u'a') + " ....\n");
        QCOMPARE(tip->width(), 3000 / 15);
        QVERIFY(tip->y() > cal->mapFromGlobal(grid->mapToGlobal(cell17)).y());
        move(grid, QPoint(2, 2)); // within the 100-twip edge
        QVERIFY(!tip->isVisibleTo(cal.get()));
    }

    // "Weeks start on" moves the whole grid, and a page on show follows the choice as soon
    // as it is written: March 2026 begins on a Sunday, so with Monday first the 1st sits in
    // the first row's last column and Monday 2 March opens the second row.
    void weekStartMovesTheGrid() {
        EventStore store(m_context->paths.dataFile());
        QVERIFY(store.add({makeEvent("2026-03-02", 1, "Monday the 2nd")}));
        auto cal = open();
        cal->show();
        auto* grid = cal->findChild<QWidget*>("CalPic");
        auto* tip = child<QLabel>(*cal, "ToolTipLb");
        const auto textAt = [&](int row, int column) {
            move(grid, QPoint(grid->width() * column / 7 + 20, grid->height() * row / 6 + 20));
            return tip->isVisibleTo(cal.get()) ? tip->text() : QString();
        };
        QCOMPARE(textAt(1, 1), "Monday the 2nd\n");
        QVERIFY(WeekStart::write(m_context->paths.dataFile(), WeekStart::Choice::Monday,
                                 &m_context->stores.changes));
        QTRY_COMPARE(textAt(1, 0), "Monday the 2nd\n");
        QCOMPARE(textAt(1, 1), QString());
    }

    // The Options group shows the stored choice and writes a new one at once; a write that
    // fails is told and the box goes back to what is stored.
    void weekStartGroupWritesAtOnce() {
        const QString file = m_context->paths.dataFile();
        QVERIFY(WeekStart::write(file, WeekStart::Choice::System));
        CalendarOptionsGroup group(*m_context);
        group.load({});
        auto* box = group.findChild<QComboBox*>("WeekStart");
        QVERIFY(box);
        QCOMPARE(box->currentText(), "As the system does");
        QCOMPARE(box->accessibleName(), "Weeks start on");
        box->setCurrentIndex(1);
        Q_EMIT box->activated(1);
        QCOMPARE(WeekStart::read(file), WeekStart::Choice::Monday);

        QVERIFY(DataFile(file).exec("CREATE TRIGGER refuse BEFORE UPDATE ON CalendarSettings "
                                    "BEGIN SELECT RAISE(ABORT, 'no room left'); END"));
        m_desktop.dialogs.messages.clear();
        box->setCurrentIndex(0);
        Q_EMIT box->activated(0);
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QVERIFY(m_desktop.dialogs.messages.first().text.contains(file));
        QCOMPARE(box->currentText(), "Monday");
        QCOMPARE(WeekStart::read(file), WeekStart::Choice::Monday);
    }

    // An event repeating without end says in its tooltip that its dates are shown within a
    // window; one that ends, or a native weekly repeat, says nothing of the kind.
    void tooltipTellsOfTheMovingWindow() {
        const QByteArray file = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\n"
                                "BEGIN:VEVENT\r\nUID:daily@t\r\nDTSTAMP:20260101T000000Z\r\n"
                                "DTSTART;VALUE=DATE:20260301\r\nSUMMARY:Stretch\r\n"
                                "RRULE:FREQ=DAILY\r\nEND:VEVENT\r\n"
                                "BEGIN:VEVENT\r\nUID:short@t\r\nDTSTAMP:20260101T000000Z\r\n"
                                "DTSTART;VALUE=DATE:20260309\r\nSUMMARY:Course\r\n"
                                "RRULE:FREQ=DAILY;COUNT=5\r\nEND:VEVENT\r\n"
                                "BEGIN:VEVENT\r\nUID:weekly@t\r\nDTSTAMP:20260101T000000Z\r\n"
                                "DTSTART;VALUE=DATE:20260304\r\nSUMMARY:Choir\r\n"
                                "RRULE:FREQ=WEEKLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        EventStore store(m_context->paths.dataFile());
        QVERIFY(CalendarImport(store, D("2026-03-10"), m_clock.now()).importData(file, "t").ok());
        QCoreApplication::processEvents();
        auto cal = open();
        QStringList lines;
        for (const MonthLayout::TooltipEntry& e : cal->tooltipList())
            if (e.key == MonthLayout::tooltipKey(D("2026-03-11")))
                lines << e.text;
        lines.sort();
        const QDate until = store.shownWithinWindow().value("daily@t");
        QCOMPARE(until, D("2026-03-01").addDays(IcsImport::MaxRowsPerEvent - 1));
        QCOMPARE(lines,
                 (QStringList{"Choir", "Course",
                              "Stretch\nRepeats without end; dates are shown up to " +
                                  until.toString(Qt::ISODate) + " and extended as time passes"}));
    }

    void hostedByTheMainWindow() {
        CommandDispatcher shell(*m_context);
        CalendarTool tool(*m_context);
        registerProgramTools(shell.tools(), {{QStringLiteral("Calendar"), [&tool](QWidget* parent) {
                                                  return tool.makePage(parent);
                                              }}});
        shell.dispatch(trayIndex("Calendar"));
        QVERIFY(shell.mainWindow());
        Calendar* cal = tool.page();
        QVERIFY(cal);
        QCOMPARE(shell.mainWindow()->activePage(), cal);
        QCOMPARE(cal->windowTitle(), QStringLiteral("Personal Calendar"));
        auto* refresh = cal->findChild<QTimer*>("RefreshTimer");
        QVERIFY(refresh->isActive()); // choosing the calendar lays it out shortly
        refresh->stop();
        shell.mainWindow()->resize(shell.mainWindow()->size() + QSize(40, 30));
        shell.mainWindow()->show();
        QTRY_VERIFY(refresh->isActive()); // and so does a resize of its host
        shell.mainWindow()->close();
    }

    // The month view in both icon modes, with holidays, pictures and an overflowing day.
    void screenshots() {
        const QString folder = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(folder));
        const auto pictured = [](const char* date, int frequency, const char* text, QImage pic) {
            EventRow r = makeEvent(date, frequency, text, 0, toPng(pic));
            r.smallImg = toPng(pic.scaled(16, 16));
            return r;
        };
        std::vector<EventRow> rows = {
            makeEvent("2026-03-17", 1, "International day", 6),
            makeEvent("2026-03-17", 1, "Canadian day (hidden)", 107),
            pictured("2026-03-04", 3, "Weekly team meeting", filled(0xFF285AC8)),
            pictured("1970-03-25", 5, "Mom's Birthday", HolidaysIL::raw(4)),
            makeEvent("2026-02-28", 1, "Leading cell holiday", 2)};
        for (int i = 0; i < 30; ++i)
            rows.push_back(makeEvent("2026-03-20", 1, QStringLiteral("Busy %1").arg(i), 1 + i % 8));
        QVERIFY(EventStore(m_context->paths.dataFile()).add(rows));
        for (bool small : {false, true}) {
            QVERIFY(SettingsStore(m_context->paths.dataFile()).update([&](Settings& s) {
                s.smallIcons = small ? -1 : 0;
            }));
            auto cal = open();
            cal->show();
            QVERIFY(QTest::qWaitForWindowExposed(cal.get()));
            if (!small) { // the tooltip of the 25th: the weekly meeting and the birthday
                auto* grid = cal->findChild<QWidget*>("CalPic");
                move(grid, QPoint(grid->width() * 3 / 7 + 30, grid->height() * 4 / 6 + 30));
            }
            QVERIFY(cal->grab().save(folder +
                                     (small ? "/calendar-small.png" : "/calendar-normal.png")));
        }
    }
};

QTEST_MAIN(TestCalendarWindow)
#include "tst_calendarwindow.moc"
