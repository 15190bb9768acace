// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayUpdate.h"
#include "calendar/ui/Calendar.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "shell/ui/AppEventRules.h"
#include "shell/ui/FocusRingStyle.h"

#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <memory>

// The month view's Find Next and Export as the calendar tool wires them.
class TestCalendarTool : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock{QDateTime(D("2026-05-10"), QTime(9, 0))};
    FakeDesktop m_desktop;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<CalendarTool> m_tool;

    std::unique_ptr<Calendar> open() {
        std::unique_ptr<Calendar> cal(m_tool->makePage(nullptr));
        cal->resize(900, 640);
        cal->layOutNow();
        return cal;
    }
    void find(Calendar& cal, const QString& text) {
        auto* box = cal.findChild<QLineEdit*>("SearchTb");
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void exportRange(Calendar& cal, int index) {
        cal.findChild<QMenu*>("ExportMenu")->actions().at(index)->trigger();
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
        m_tool = std::make_unique<CalendarTool>(*m_context);
    }

    void init() {
        QFile::remove(m_context->paths.dataFile());
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), D("2026-01-15")),
                 QString());
        m_desktop.dialogs.messages.clear();
        m_desktop.shell.openedUrls.clear();
        m_desktop.shell.browserAvailable = true;
    }

    void findNextStepsThroughTheMatches() {
        QVERIFY(EventStore(m_context->paths.dataFile())
                    .add({makeEvent("1970-05-12", 5, "Mom's Birthday"),
                          makeEvent("2026-05-10", 1, "birthday party, today")}));
        auto cal = open();
        find(*cal, "  BIRTHDAY ");
        QCOMPARE(cal->selectedDate(), D("2026-05-12"));
        find(*cal, "birthday");
        QCOMPARE(cal->selectedDate(), D("2027-05-12"));
        QCOMPARE(cal->findChild<QLabel*>("MnYrLb")->text(), "May 2027"); // drawn again
        QVERIFY(m_desktop.dialogs.messages.isEmpty());

        find(*cal, "dentist");
        QCOMPARE(cal->selectedDate(), D("2027-05-12"));
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QCOMPARE(m_desktop.dialogs.messages[0].text, "No more result found.");
        QCOMPARE(m_desktop.dialogs.messages[0].title, "Message");
        QCOMPARE(m_desktop.dialogs.messages[0].icon, MessageIcon::Information);
    }

    // The page opens in the browser by its file URL; a browser that cannot start, or a
    // page that cannot be written, is told to the user.
    void exportOpensThePage() {
        QVERIFY(EventStore(m_context->paths.dataFile()).add(makeEvent("2026-05-10", 1, "Dentist")));
        auto cal = open();
        const QString page = m_context->paths.file(QStringLiteral("events.htm"));
        exportRange(*cal, 0);
        QCOMPARE(m_desktop.shell.openedUrls,
                 QStringList{QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded)});
        QVERIFY(m_desktop.shell.openedUrls[0].startsWith("file:///"));
        QFile written(page);
        QVERIFY(written.open(QIODevice::ReadOnly) && written.readAll().contains("Dentist"));
        QVERIFY(m_desktop.dialogs.messages.isEmpty());

        m_desktop.shell.browserAvailable = false;
        exportRange(*cal, 2);
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QVERIFY(m_desktop.dialogs.messages[0].text.contains(page));

        QVERIFY(QFile::remove(page) && QDir().mkdir(page));
        exportRange(*cal, 1);
        QCOMPARE(m_desktop.shell.openedUrls.size(), 2);
        QCOMPARE(m_desktop.dialogs.messages.size(), 2);
        QVERIFY(m_desktop.dialogs.messages[1].text.startsWith("The events could not be exported"));
        QDir().rmdir(page);
    }

    // Return and Enter press the focused button of the page ("Edit Events..."), as Space
    // does; held down, Return presses it once.
    void returnPressesTheFocusedButton() {
        AppEventRules::install();
        auto cal = open();
        int edits = 0;
        // The count in place of the tool's editor.
        disconnect(cal.get(), &Calendar::editEventsRequested, nullptr, nullptr);
        connect(cal.get(), &Calendar::editEventsRequested, this, [&] { ++edits; });
        cal->show();
        QVERIFY(QTest::qWaitForWindowActive(cal.get()));
        auto* edit = cal->findChild<QPushButton*>("EditCmd");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edits, 1);
        QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(edits, 2);
        QTest::keyEvent(QTest::Press, edit, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(edit, &repeat);
        QCOMPARE(edits, 3);
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier); // not a press
        QCOMPARE(edits, 3);
        auto* find = cal->findChild<QPushButton*>("FindCmd"); // disabled: nothing happens
        find->setFocus();
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(edits, 3);
    }

    // A window that opens hides the tooltip at once: none stays over a dialog or a notice.
    void noTooltipStaysOverADialog() {
        AppEventRules::install();
        auto cal = open();
        cal->show();
        QVERIFY(QTest::qWaitForWindowActive(cal.get()));
        QToolTip::showText(cal->mapToGlobal(QPoint(20, 20)), QStringLiteral("Go Today"), cal.get());
        QTRY_VERIFY(QToolTip::isVisible());
        // Shown without taking the front, as the notices are: Qt's own hiding (on the
        // activation) never comes.
        QDialog dialog(cal.get());
        dialog.setAttribute(Qt::WA_ShowWithoutActivating);
        dialog.show();
        QVERIFY(!QToolTip::isVisible());
    }

    // November with the shipped holidays of all three lists merged, at the screen's scale
    // (run with QT_SCALE_FACTOR=2 for the double-density picture).
    void screenshotWithHolidays() {
        QVERIFY(QFile::copy(QStringLiteral(PLUMORA_BIN_DIR "/holidays.plm"),
                            m_context->paths.file(QStringLiteral("holidays.plm"))));
        HolidayUpdate update(m_context->paths, m_context->stores, m_clock, m_desktop.downloads);
        QVERIFY(update.mergeShippedListIfNone());
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.addHolidays = s.addCanada = s.addAmerica = true;
        }));
        auto cal = open();
        cal->setSelectedDate(D("2026-11-26"));
        cal->redraw(true);
        cal->show();
        QVERIFY(QTest::qWaitForWindowExposed(cal.get()));
        const QString folder = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(cal->grab().save(
            folder + QStringLiteral("/calendar-holidays@%1x.png").arg(cal->devicePixelRatio())));
        // The menu bar's "Calendar" menu, and "Edit Events..." with the keyboard's ring.
        QMenu* menu = cal->pageMenu();
        menu->popup(cal->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QVERIFY(menu->grab().save(
            folder + QStringLiteral("/calendar-menu@%1x.png").arg(cal->devicePixelRatio())));
        menu->close();
        FocusRingStyle::install();
        cal->findChild<QPushButton*>("EditCmd")->setFocus(Qt::TabFocusReason);
        QVERIFY(cal->grab().save(
            folder + QStringLiteral("/calendar-focus@%1x.png").arg(cal->devicePixelRatio())));
    }
};

QTEST_MAIN(TestCalendarTool)
#include "tst_calendartool.moc"
