// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar's iCalendar items as the tool wires them: export with its choices, import
// from the menu and by dropping files, and the summary window.
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/ical/Subscriptions.h"
#include "calendar/ui/Calendar.h"
#include "calendar/ui/SubscribeDialog.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

class TestCalendarInterchange : public QObject {
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
    void trigger(Calendar& cal, const char* item) {
        cal.findChild<QMenu*>("ExportMenu")->findChild<QAction*>(item)->trigger();
    }
    QString fixture(const char* name) {
        return QString::fromLocal8Bit(qgetenv("PLUMORA_TEST_DATA")) + "/ical/" + name;
    }
    // Drops `files` on the calendar; whether the drag was taken.
    bool drop(Calendar& cal, const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& f : files)
            urls << QUrl::fromLocalFile(f);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&cal, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&cal, &dropped);
        return true;
    }
    // Events, not rows: a repeat kept as single dates has many rows.
    int events() {
        return DataFile(m_context->paths.dataFile())
            .scalar("SELECT COUNT(DISTINCT UID) FROM Events")
            .toInt();
    }

private Q_SLOTS:
    void initTestCase() {
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
        m_tool = std::make_unique<CalendarTool>(*m_context);
    }

    void init() {
        QFile::remove(m_context->paths.dataFile());
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), D("2026-01-15")),
                 QString());
        m_desktop.dialogs.messages.clear();
        m_desktop.dialogs.saveChoice.clear();
        m_desktop.dialogs.openChoice.clear();
    }

    // The save dialog offers all events or the three ranges and "Include holidays"; the
    // file holds what was chosen; a cancelled dialog writes nothing.
    void exportHonoursTheChoices() {
        QVERIFY(EventStore(m_context->paths.dataFile())
                    .add({makeEvent("2026-05-10", 1, "Dentist"), makeEvent("2026-08-01", 1, "Trip"),
                          makeEvent("2026-05-10", 5, "Holiday", 3)}));
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.addHolidays = true;
        }));
        auto cal = open();
        const QString file = m_dir.filePath("out.ics");
        const auto exported = [&](int item, bool holidays) {
            QFile::remove(file);
            m_desktop.dialogs.saveChoice = file;
            m_desktop.dialogs.saveAnswer.item = item;
            m_desktop.dialogs.saveAnswer.checked = holidays;
            trigger(*cal, "IcsExportMenu");
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        // A finished export says how many events went where.
        const auto told = [&] {
            return m_desktop.dialogs.messages.isEmpty() ? QString()
                                                        : m_desktop.dialogs.messages.last().text;
        };
        const QString where = QDir::toNativeSeparators(file);
        QByteArray ics = exported(1, false); // the selected date
        QCOMPARE(told(), "1 event was exported to " + where + ".");
        QCOMPARE(m_desktop.dialogs.messages.last().icon, MessageIcon::Information);
        QVERIFY(ics.contains("SUMMARY:Dentist"));
        QVERIFY(!ics.contains("Trip"));
        QVERIFY(!ics.contains("Holiday"));
        QCOMPARE(m_desktop.dialogs.saveOffered.items,
                 (QStringList{"All events", "Selected date", "Coming 7 days", "Selected month"}));
        QCOMPARE(m_desktop.dialogs.saveOffered.check, "Include holidays");
        QVERIFY(m_desktop.dialogs.savedSuggestion.endsWith("/calendar.ics"));

        ics = exported(0, true);
        QVERIFY(ics.contains("Dentist") && ics.contains("Trip") && ics.contains("Holiday"));
        QCOMPARE(told(), "3 events were exported to " + where + ".");
        cal->setSelectedDate(D("2026-05-11")); // a day without events
        QFile::remove(file);
        m_desktop.dialogs.saveChoice = file;
        m_desktop.dialogs.saveAnswer = {.item = 1, .checked = false};
        trigger(*cal, "IcsExportMenu");
        QCOMPARE(told(),
                 "There were no events to export: an empty calendar was written to " + where + ".");

        m_desktop.dialogs.messages.clear();
        m_desktop.dialogs.saveChoice.clear();
        QFile::remove(file);
        trigger(*cal, "IcsExportMenu");
        QVERIFY(!QFile::exists(file));
        QVERIFY(m_desktop.dialogs.messages.isEmpty()); // cancelled: nothing to say

        // A folder that cannot be written to is told.
        m_desktop.dialogs.saveChoice = m_dir.filePath("no/such/folder/out.ics");
        trigger(*cal, "IcsExportMenu");
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QVERIFY(m_desktop.dialogs.messages[0].text.startsWith("The events could not be exported."));
    }

    // The menu bar's "Calendar" menu has import, subscribe and export of their own.
    void calendarMenuHasTheInterchange() {
        auto cal = open();
        QMenu* menu = cal->pageMenu();
        QVERIFY(menu);
        QStringList items;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator())
                items << a->text();
        QCOMPARE(items,
                 (QStringList{"&Edit Events...", "&Import iCalendar File...",
                              "&Subscribe to a Calendar...", "E&xport to an iCalendar File..."}));
        bool subscribed = false;
        // Heard in place of the tool's dialog.
        disconnect(cal.get(), &Calendar::subscribeRequested, nullptr, nullptr);
        connect(cal.get(), &Calendar::subscribeRequested, this, [&] { subscribed = true; });
        menu->findChild<QAction*>("CalSubscribeMenu")->trigger();
        QVERIFY(subscribed);
        m_desktop.dialogs.openChoice = {fixture("google.ics")};
        menu->findChild<QAction*>("CalImportMenu")->trigger();
        readsDone();
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QCOMPARE(events(), 3);
    }

    // The menu and a drop take the same road, the files read off the event loop; the summary
    // window says what happened, and warns when a file was refused.
    void importFromMenuAndDrop() {
        auto cal = open();
        m_desktop.dialogs.openChoice = {fixture("google.ics")};
        trigger(*cal, "IcsImportMenu");
        // Read on a worker thread: stored and told once the event loop takes it back.
        QCOMPARE(events(), 0);
        QVERIFY(m_desktop.dialogs.messages.isEmpty());
        readsDone();
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);
        QCOMPARE(m_desktop.dialogs.messages[0].title, "Import iCalendar file");
        QVERIFY2(m_desktop.dialogs.messages[0].text.contains("3 events added"),
                 qPrintable(m_desktop.dialogs.messages[0].text));
        QCOMPARE(m_desktop.dialogs.messages[0].icon, MessageIcon::Information);
        QCOMPARE(events(), 3);

        m_desktop.dialogs.openChoice.clear(); // cancelled: nothing shown
        trigger(*cal, "IcsImportMenu");
        QCOMPARE(m_desktop.dialogs.messages.size(), 1);

        QFile bad(m_dir.filePath("bad.ics"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n");
        bad.close();
        QVERIFY(!drop(*cal, {m_dir.filePath("notes.txt")}));
        QVERIFY(drop(*cal, {fixture("google.ics"), bad.fileName()}));
        readsDone();
        QCOMPARE(m_desktop.dialogs.messages.size(), 2);
        const QString text = m_desktop.dialogs.messages[1].text;
        QVERIFY2(text.contains("3 events unchanged") &&
                     text.contains("Nothing was imported from bad.ics."),
                 qPrintable(text));
        QCOMPARE(m_desktop.dialogs.messages[1].icon, MessageIcon::Warning);
        QCOMPARE(events(), 3);
    }

    // The subscriptions window: a bad address or a missing name is told; a new
    // subscription is fetched at once and saved only when that worked, a failure told in
    // the window; a failing refresh marks it in the list; removal asks first and takes the
    // events along.
    void subscribeAndRemove() {
        SubscriptionRefresh refresh(m_context->stores, m_clock, m_desktop.downloads, {});
        SubscribeDialog dialog(*m_context, &refresh);
        auto* address = dialog.findChild<QLineEdit*>("AddressTb");
        auto* name = dialog.findChild<QLineEdit*>("NameTb");
        address->setText("http://example.org/team.ics");
        name->setText("Team");
        QVERIFY(!dialog.subscribe());
        QVERIFY(m_desktop.dialogs.messages.last().text.contains("https:// or webcal://"));
        address->setText("webcal://example.org/team.ics");
        name->clear();
        QVERIFY(!dialog.subscribe());
        name->setText("Team");
        dialog.findChild<QComboBox*>("EveryCb")->setCurrentIndex(2);
        const qsizetype told = m_desktop.dialogs.messages.size();
        auto* tried = dialog.findChild<QLabel*>("TriedLb");
        auto* subscribeBtn = dialog.findChild<QPushButton*>("SubscribeBtn");
        QVERIFY(dialog.subscribe());
        QVERIFY(!subscribeBtn->isEnabled());
        QVERIFY(m_desktop.downloads.finish({}, "Connection refused"));
        readsDone();
        QVERIFY(subscribeBtn->isEnabled());
        QCOMPARE(tried->text(), "\"Team\" was not added: Connection refused");
        QVERIFY(!tried->isHidden());
        QCOMPARE(m_desktop.dialogs.messages.size(), told);
        QVERIFY(SubscriptionStore(m_context->paths.dataFile()).all().empty());
        QCOMPARE(address->text(), "webcal://example.org/team.ics"); // kept to be mended

        QVERIFY(dialog.subscribe());
        QVERIFY(SubscriptionStore(m_context->paths.dataFile()).all().empty());
        QVERIFY(m_desktop.downloads.finish(
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:1\r\n"
            "DTSTART;VALUE=DATE:20260512\r\nSUMMARY:match\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
        readsDone();
        const std::vector<Subscription> all = SubscriptionStore(m_context->paths.dataFile()).all();
        QCOMPARE(all.size(), size_t(1));
        QCOMPARE(all[0].everyMinutes, SubscriptionRules::Weekly);
        QCOMPARE(events(), 1);
        QVERIFY(tried->isHidden() && address->text().isEmpty());

        auto* list = dialog.findChild<QListWidget*>("SubscriptionList");
        QCOMPARE(list->count(), 1);
        QVERIFY(!list->item(0)->data(SubscribeDialog::FailedRole).toBool());
        // A refresh that failed is marked once the list is shown again.
        refresh.refresh(all[0]);
        QVERIFY(m_desktop.downloads.finish({}, "Host not found"));
        readsDone();
        SubscribeDialog again(*m_context, &refresh);
        auto* marked = again.findChild<QListWidget*>("SubscriptionList");
        QVERIFY(marked->item(0)->data(SubscribeDialog::FailedRole).toBool());
        QVERIFY(marked->item(0)->text().startsWith("Team: last refresh failed ("));
        const QString shots = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        if (!shots.isEmpty() && QDir().mkpath(shots)) {
            again.show();
            QVERIFY(QTest::qWaitForWindowExposed(&again));
            again.grab().save(QDir(shots).filePath(
                QStringLiteral("subscriptions-x%1.png").arg(again.devicePixelRatio())));
        }
        list->setCurrentRow(0);
        QVERIFY(!dialog.removeSelected()); // answered No
        m_desktop.dialogs.answers.push_back(MessageAnswer::Yes);
        QVERIFY(dialog.removeSelected());
        QCOMPARE(events(), 0);
        QCOMPARE(list->count(), 0);
    }
};

QTEST_MAIN(TestCalendarInterchange)
#include "tst_calendarinterchange.moc"
