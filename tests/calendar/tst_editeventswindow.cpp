// SPDX-License-Identifier: GPL-3.0-or-later
// The event editor window on the offscreen platform: what the grid shows and how its cell
// editors feed the rules.
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventIcons.h"
#include "calendar/EventStore.h"
#include "calendar/ui/EditEvents.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "platform/spell/ui/SpellAsYouType.h"
#include "shell/ui/AppEventRules.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestEditEventsWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock;
    FakeDesktop m_desktop;
    std::unique_ptr<AppContext> m_context;
    const QDate m_day = D("2002-09-05");

    std::unique_ptr<EditEvents> open() {
        auto editor =
            std::make_unique<EditEvents>(*m_context, m_day, HolidayFlags{true, true, true});
        editor->setIconChooser([](EditEvents&) { return filled(0xFF000000); });
        editor->show();
        return editor;
    }
    template <typename T> static T* child(EditEvents& e, const char* name) {
        return e.findChild<T*>(name);
    }
    static QString cell(EditEvents& e, int row, int column) {
        QTableWidgetItem* it = child<QTableWidget>(e, "EventsGrid")->item(row, column);
        return it ? it->text() : QString();
    }

private Q_SLOTS:
    void init() {
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
        QFile::remove(m_context->paths.dataFile());
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), m_day), QString());
        EventStore store(m_context->paths.dataFile());
        QVERIFY(store.add(
            {makeEvent("2002-09-05", 1, "lunch"), makeEvent("2001-09-05", 5, "holiday", 4)}));
        m_desktop.dialogs.messages.clear();
    }

    void showsTheDay() {
        auto e = open();
        QCOMPARE(e->windowTitle(), "Edit Events - Sep 05 2002");
        QVERIFY(e->isModal());
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        const QStringList headers = {"X", "Icon", "Event Description", "Date", "Repeat"};
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(grid->horizontalHeaderItem(c)->text(), headers[c]);
            QCOMPARE(grid->horizontalHeaderItem(c)->textAlignment() & Qt::AlignHorizontal_Mask,
                     c == 2 ? int(Qt::AlignLeft) : int(Qt::AlignHCenter));
        }
        QCOMPARE(grid->rowCount(), 50);
        QCOMPARE(cell(*e, 0, 2), "holiday");
        QCOMPARE(cell(*e, 0, 3), "2002-09-05");
        QCOMPARE(grid->item(0, 1)->background().color(), QColor(245, 245, 245));
        QCOMPARE(cell(*e, 1, 2), "lunch");
        QCOMPARE(cell(*e, 1, 4), "none");
        QVERIFY(grid->item(1, 1)->background().style() == Qt::NoBrush);

        // Holiday rows take no clicks; user rows mark and unmark.
        for (int c = 0; c < 5; ++c)
            e->clickCell(0, c);
        QVERIFY(!child<QWidget>(*e, "DescTb")->isVisible());
        QCOMPARE(cell(*e, 0, 0), QString());
        e->clickCell(1, 0);
        QTableWidgetItem* mark = grid->item(1, 0);
        QCOMPARE(mark->text(), "X");
        QCOMPARE(mark->foreground().color(), QColor(255, 0, 0));
        QVERIFY(mark->font().bold());
        QCOMPARE(mark->font().pointSize(), 10);
        for (int c = 1; c < 5; ++c)
            QVERIFY(grid->item(1, c)->font().strikeOut());
        e->clickCell(1, 2);
        QVERIFY(!child<QWidget>(*e, "DescTb")->isVisible()); // a marked row is not edited
        e->clickCell(1, 0);
        QCOMPARE(mark->text(), QString());
        QVERIFY(!grid->item(1, 3)->font().strikeOut());
    }

    // A new row made through the cell editors, then saved.
    void newRowThroughTheEditors() {
        auto e = open();
        auto* desc = child<QPlainTextEdit>(*e, "DescTb");

        e->clickCell(2, 1); // the picker hands back a picture
        QCOMPARE(cell(*e, 2, 1), " ");
        QCOMPARE(cell(*e, 2, 3), "2002-09-05");

        e->clickCell(3, 2);
        QVERIFY(desc->isVisible());
        QVERIFY(desc->findChild<SpellHighlighter*>() ||
                desc->document()->findChild<SpellHighlighter*>());
        QTest::keyClicks(desc, "Dentist");
        QCOMPARE(cell(*e, 3, 3), "2002-09-05"); // filled while typing
        QTest::keyClick(desc, Qt::Key_Escape);
        QVERIFY(!desc->isVisible());
        QCOMPARE(cell(*e, 3, 2), QString()); // Esc takes nothing
        QVERIFY(e->isVisible());

        e->clickCell(2, 2);
        QTest::keyClicks(desc, "Dentist");
        e->clickCell(2, 3); // leaving the box takes its text
        QCOMPARE(cell(*e, 2, 2), "Dentist");
        auto* pick = child<QCalendarWidget>(*e, "DatePick");
        QVERIFY(pick->isVisible());
        QCOMPARE(pick->selectedDate(), m_day);
        pick->setSelectedDate(D("2002-09-12"));
        Q_EMIT pick->clicked(D("2002-09-12"));
        QVERIFY(!pick->isVisible());
        QCOMPARE(cell(*e, 2, 3), "2002-09-12");
        e->clickCell(2, 3);
        pick->setSelectedDate(D("2002-09-19"));
        QTest::keyClick(pick, Qt::Key_Escape); // hides the picker without taking its date
        QVERIFY(!pick->isVisible());
        QVERIFY(e->isVisible());
        QCOMPARE(cell(*e, 2, 3), "2002-09-12");

        e->clickCell(2, 4);
        auto* repeat = child<QComboBox>(*e, "RepeatCb");
        QVERIFY(repeat->isVisible());
        QCOMPARE(repeat->currentText(), "none");
        Q_EMIT repeat->activated(2);
        QCOMPARE(cell(*e, 2, 4), "monthly");

        child<QPushButton>(*e, "SaveBtn")->click();
        QCOMPARE(e->result(), int(QDialog::Accepted));
        EventStore store(m_context->paths.dataFile());
        const std::vector<EventRow> rows = store.readDay(D("2002-10-12"));
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].description, "Dentist");
        QCOMPARE(rows[0].frequency, 4);
        QCOMPARE(QImage::fromData(rows[0].smallImg).pixel(8, 8), QRgb(0xFF404040));
        QCOMPARE(store.readDay(m_day).size(), size_t(2)); // lunch and the holiday stay
    }

    // Typing on a cell starts editing it with the key typed: nothing of it is lost.
    void typingStartsEditingWithTheFirstKey() {
        auto e = std::make_unique<EditEvents>(*m_context, m_day.addDays(1),
                                              HolidayFlags{true, true, true});
        e->show();
        QVERIFY(QTest::qWaitForWindowActive(e.get()));
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        QVERIFY(grid->hasFocus());
        const QString typed = QStringLiteral("Call the plumber today");
        for (const QChar c : typed)
            QTest::keyClick(e->windowHandle(), c.toLatin1());
        QTest::keyClick(e->windowHandle(), Qt::Key_Return);
        QCOMPARE(cell(*e, 0, EditEvents::DescCol), typed);
        QCOMPARE(cell(*e, 0, EditEvents::DateCol), "2002-09-06");
        QCOMPARE(grid->currentColumn(), int(EditEvents::DescCol)); // Enter stays on the cell
        QVERIFY(grid->hasFocus());

        // Over a cell with text the key replaces it; Esc brings the text back.
        QTest::keyClick(e->windowHandle(), 'W');
        QTest::keyClick(e->windowHandle(), Qt::Key_Escape);
        QCOMPARE(cell(*e, 0, EditEvents::DescCol), typed);
        // "x" on the X cell marks the row; on a blank row it does nothing.
        grid->setCurrentCell(0, EditEvents::MarkCol);
        QTest::keyClick(e->windowHandle(), 'x');
        QCOMPARE(cell(*e, 0, EditEvents::MarkCol), "X");
        grid->setCurrentCell(1, EditEvents::MarkCol);
        QTest::keyClick(e->windowHandle(), 'x');
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(2, EditEvents::MarkCol)).center());
        QCOMPARE(cell(*e, 1, EditEvents::MarkCol), QString());
        QCOMPARE(cell(*e, 2, EditEvents::MarkCol), QString());
    }

    // Ctrl+Tab leaves the grid for the buttons, and so does Tab from its last cell.
    void theKeyboardLeavesTheGrid() {
        auto e = open();
        QVERIFY(QTest::qWaitForWindowActive(e.get()));
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        auto* save = child<QPushButton>(*e, "SaveBtn");
        grid->setFocus();
        QTest::keyClick(e->windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(save->hasFocus());
        QTest::keyClick(e->windowHandle(), Qt::Key_Tab);
        QVERIFY(child<QPushButton>(*e, "CancelBtn")->hasFocus());

        grid->setFocus();
        grid->setCurrentCell(3, EditEvents::DateCol);
        QTest::keyClick(e->windowHandle(), Qt::Key_Tab); // within the grid
        QVERIFY(grid->hasFocus());
        QCOMPARE(grid->currentColumn(), int(EditEvents::RepeatCol));
        grid->setCurrentCell(grid->rowCount() - 1, EditEvents::RepeatCol);
        QTest::keyClick(e->windowHandle(), Qt::Key_Tab);
        QVERIFY(save->hasFocus());
        QTest::keyClick(e->windowHandle(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(grid->hasFocus());

        // Tab in the description box takes its text and goes on to the next cell.
        grid->setCurrentCell(2, EditEvents::DescCol);
        e->clickCell(2, EditEvents::DescCol);
        QTest::keyClicks(child<QPlainTextEdit>(*e, "DescTb"), "Gym");
        QTest::keyClick(e->windowHandle(), Qt::Key_Tab);
        QCOMPARE(cell(*e, 2, EditEvents::DescCol), "Gym");
        QVERIFY(grid->hasFocus());
        QCOMPARE(grid->currentColumn(), int(EditEvents::DateCol));
    }

    void datePickerPlacement_data() {
        QTest::addColumn<QRect>("cell");
        QTest::addColumn<QRect>("expected");
        const QRect area(0, 0, 700, 400);
        QTest::newRow("below the cell") << QRect(400, 40, 100, 30) << QRect(400, 70, 250, 200);
        QTest::newRow("above when it does not fit below")
            << QRect(400, 300, 100, 30) << QRect(400, 100, 250, 200);
        QTest::newRow("neither: kept whole inside")
            << QRect(400, 190, 100, 30) << QRect(400, 0, 250, 200);
        QTest::newRow("near the right edge") << QRect(600, 40, 100, 30) << QRect(450, 70, 250, 200);
    }
    void datePickerPlacement() {
        QFETCH(QRect, cell);
        QFETCH(QRect, expected);
        QCOMPARE(EditEvents::datePickPlace(cell, QSize(250, 200), QRect(0, 0, 700, 400)), expected);
    }

    // Whichever row it opens for, the picker lies whole in the dialog, in a frame.
    void theDatePickerStandsWholeInAFrame() {
        auto e = open();
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        for (int row : {1, 7}) {
            grid->scrollToTop();
            e->clickCell(row, EditEvents::DateCol);
            auto* frame = child<QFrame>(*e, "DatePickFrame");
            QVERIFY(frame->isVisible());
            QVERIFY(frame->lineWidth() > 0 && frame->frameShape() == QFrame::Box);
            QVERIFY(e->rect().contains(frame->geometry()));
            QVERIFY(frame->isAncestorOf(child<QCalendarWidget>(*e, "DatePick")));
            e->leaveEditors();
        }
    }

    void theGridAndItsCellsHaveNames() {
        auto e = open();
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        QCOMPARE(grid->accessibleName(), "Events");
        e->clickCell(1, EditEvents::MarkCol);
        QCOMPARE(grid->item(1, EditEvents::MarkCol)->data(Qt::AccessibleTextRole).toString(),
                 "Marked for deletion");
        QCOMPARE(grid->item(2, EditEvents::MarkCol)->data(Qt::AccessibleTextRole).toString(),
                 "Not marked");
        QCOMPARE(grid->item(1, EditEvents::IconCol)->data(Qt::AccessibleTextRole).toString(),
                 "Icon");
        QCOMPARE(grid->item(2, EditEvents::IconCol)->data(Qt::AccessibleTextRole).toString(),
                 "No icon");
        for (const char* name : {"DescTb", "DatePick", "RepeatCb"})
            QVERIFY(!child<QWidget>(*e, name)->accessibleName().isEmpty());
    }

    // A click on a cell opens its editor at once: the repeat list drops down, the icon
    // picker comes up.
    void oneClickOpensTheRepeatAndIconCells() {
        auto e = open();
        QVERIFY(QTest::qWaitForWindowActive(e.get()));
        int picks = 0;
        e->setIconChooser([&picks](EditEvents&) {
            ++picks;
            return filled(0xFF00FF00);
        });
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        const auto clickOn = [&](int row, int column) {
            const QRect cell = grid->visualRect(grid->model()->index(row, column));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        };
        clickOn(2, EditEvents::IconCol);
        QCOMPARE(picks, 1);
        clickOn(1, EditEvents::DescCol); // and with another cell's editor open
        QVERIFY(child<QWidget>(*e, "DescTb")->isVisible());
        clickOn(3, EditEvents::IconCol);
        QCOMPARE(picks, 2);
        clickOn(1, EditEvents::DescCol);
        clickOn(1, EditEvents::RepeatCol);
        auto* repeat = child<QComboBox>(*e, "RepeatCb");
        QTRY_VERIFY(repeat->view()->isVisible());
        // Its list shows every entry whole.
        const QFontMetrics metrics(repeat->view()->font());
        for (int i = 0; i < repeat->count(); ++i)
            QVERIFY(repeat->view()->visualRect(repeat->model()->index(i, 0)).width() >
                    metrics.horizontalAdvance(repeat->itemText(i)));
        repeat->hidePopup();
    }

    // Return in the grid is a click on the cell; on the focused Save it saves and closes,
    // as a click does.
    void returnPressesTheFocusedSave() {
        AppEventRules::install();
        auto e = open();
        QVERIFY(QTest::qWaitForWindowActive(e.get()));
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        grid->setFocus();
        grid->setCurrentCell(1, EditEvents::MarkCol);
        QTest::keyClick(e->windowHandle(), Qt::Key_Return);
        QCOMPARE(cell(*e, 1, EditEvents::MarkCol), "X");
        QVERIFY(e->isVisible());
        auto* save = child<QPushButton>(*e, "SaveBtn");
        save->setFocus();
        QTest::keyClick(e->windowHandle(), Qt::Key_Return);
        QVERIFY(!e->isVisible());
        QCOMPARE(e->result(), int(QDialog::Accepted));
        QCOMPARE(EventStore(m_context->paths.dataFile()).readDay(m_day).size(), size_t(1));
    }

    void failedSaveTellsTheUser() {
        {
            DataFile db(m_context->paths.dataFile());
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Events "
                                           "BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
        }
        auto e = open();
        child<QPushButton>(*e, "SaveBtn")->click();
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QCOMPARE(m_desktop.dialogs.messages[0].icon, MessageIcon::Warning);
        QVERIFY(m_desktop.dialogs.messages[0].text.startsWith(
            "The events of this day could not be saved to " + m_context->paths.dataFile()));
        QVERIFY(m_desktop.dialogs.messages[0].text.contains("disk full"));
        QVERIFY(e->isVisible()); // the user's edits are still there to retry or cancel
        EventStore store(m_context->paths.dataFile());
        QCOMPARE(store.readDay(m_day).size(), size_t(2));
    }

    // Esc closes an untouched day at once; with changed rows it asks first (and "No"
    // keeps them). "Cancel" is the user's own word and never asks.
    void escapeAsksBeforeDroppingChanges() {
        auto e = open();
        QVERIFY(QTest::qWaitForWindowActive(e.get()));
        QTest::keyClick(e->windowHandle(), Qt::Key_Escape);
        QVERIFY(!e->isVisible());
        QVERIFY(m_desktop.dialogs.messages.isEmpty());

        e = open();
        QVERIFY(QTest::qWaitForWindowActive(e.get()));
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        grid->setCurrentCell(3, EditEvents::DescCol);
        for (const char c : {'D', 'e', 'n', 't', 'i', 's', 't'})
            QTest::keyClick(e->windowHandle(), c);
        QTest::keyClick(e->windowHandle(), Qt::Key_Return);
        QVERIFY(grid->hasFocus());
        m_desktop.dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
        QTest::keyClick(e->windowHandle(), Qt::Key_Escape);
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QCOMPARE(m_desktop.dialogs.messages[0].buttons, MessageButtons::YesNoDefaultNo);
        QVERIFY(e->isVisible());
        QCOMPARE(cell(*e, 3, EditEvents::DescCol), "Dentist");
        e->close();
        QCOMPARE(m_desktop.dialogs.messages.size(), 2);
        QVERIFY(!e->isVisible());

        e = open();
        e->clickCell(1, EditEvents::MarkCol);
        child<QPushButton>(*e, "CancelBtn")->click();
        QVERIFY(!e->isVisible());
        QCOMPARE(m_desktop.dialogs.messages.size(), 2);
        EventStore store(m_context->paths.dataFile());
        QCOMPARE(store.readDay(m_day).size(), size_t(2));
    }

    // Esc in the open Repeat list closes it with its editor: the grid has the keys again
    // and arrows move in the grid, never changing the repeat unseen.
    void escapeLeavesTheRepeatList() {
        auto e = open();
        QVERIFY(QTest::qWaitForWindowActive(e.get()));
        auto* grid = child<QTableWidget>(*e, "EventsGrid");
        auto* repeat = child<QComboBox>(*e, "RepeatCb");
        e->clickCell(1, EditEvents::RepeatCol);
        QTRY_VERIFY(repeat->view()->isVisible());
        QTest::keyClick(repeat->view(), Qt::Key_Escape);
        QTRY_VERIFY(!repeat->view()->isVisible());
        QVERIFY(repeat->isHidden());
        QTRY_VERIFY(grid->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(cell(*e, 1, EditEvents::RepeatCol), "none");
    }
};

QTEST_MAIN(TestEditEventsWindow)
#include "tst_editeventswindow.moc"
