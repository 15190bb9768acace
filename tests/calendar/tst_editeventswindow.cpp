// The event editor window on the offscreen platform: what the grid shows and how its cell
// editors feed the rules.
#include "CalendarTestData.h"
#include "calendar/EventIcons.h"
#include "calendar/EventStore.h"
#include "calendar/ui/EditEvents.h"
#include "core/DataFile.h"
#include "core/Schema.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "platform/spell/ui/SpellAsYouType.h"

#include <QCalendarWidget>
#include <QComboBox>
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
        QCOMPARE(Schema::createTemplate(m_context->paths.dataFile(), m_day), QString());
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

    void failedSaveTellsTheUser() {
        {
            DataFile db(m_context->paths.dataFile());
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Events "
                                           "BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
        }
        auto e = open();
        child<QPushButton>(*e, "SaveBtn")->click();
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QCOMPARE(m_desktop.dialogs.messages[0].title, "Message");
        QVERIFY(m_desktop.dialogs.messages[0].text.contains("disk full"));
        QVERIFY(e->isVisible()); // the user's edits are still there to retry or cancel
        EventStore store(m_context->paths.dataFile());
        QCOMPARE(store.readDay(m_day).size(), size_t(2));
    }
};

QTEST_MAIN(TestEditEventsWindow)
#include "tst_editeventswindow.moc"
