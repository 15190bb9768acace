// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "notify/ui/MessagePopup.h"
#include "notify/ui/Notices.h"
#include "notify/ui/Reminder.h"
#include "shell/Chime.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

class TestNoticeWindows : public QObject {
    Q_OBJECT

    QTemporaryDir m_program, m_executable;
    FakeClock m_clock;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<Notices> m_notices;
    QStringList m_menu; // the tools shown
    QList<QDate> m_calendar;

    void addEvent(int daysAhead, const QString& text) {
        EventRow r;
        r.eDate = m_clock.today().addDays(daysAhead);
        r.description = text;
        QVERIFY(EventStore(m_context->paths.dataFile()).add(r));
    }
    QString rmwav() const { return m_context->paths.file(QStringLiteral("rmwav")); }

private Q_SLOTS:
    void init() {
        QFile chime(m_executable.filePath(QStringLiteral("reminder.wav")));
        QVERIFY(chime.open(QIODevice::WriteOnly) && chime.write(Chime::wav()) > 0);
        m_desktop = std::make_unique<FakeDesktop>();
        m_context = std::make_unique<AppContext>(
            m_desktop->context(AppPaths(m_program.path(), m_executable.path()), m_clock));
        QFile::remove(m_context->paths.dataFile());
        QFile::remove(rmwav());
        QCOMPARE(programSchema().createTemplate(m_context->paths.dataFile(), m_clock.today()),
                 QString());
        QVERIFY(SettingsStore(m_context->paths.dataFile()).update([](Settings& s) {
            s.notifyAgo = 3;
        }));
        m_menu.clear();
        m_calendar.clear();
        m_notices = std::make_unique<Notices>(
            *m_context, [this](const QString& id) { m_menu << id; },
            [this](const QDate& d) { m_calendar << d; });
    }

    void cleanup() {
        m_notices.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Loaded once; the first tick raises, places and shows it, makes the sound file and
    // displays the first entry; a click opens the calendar at the shown date.
    void reminderShowsAtItsFirstTick_data() {
        QTest::addColumn<bool>("mailNotice");
        QTest::addColumn<bool>("trayOnTheRight");
        QTest::newRow("alone") << false << false;
        QTest::newRow("with the mail notice") << true << false;
        // Two monitors, the pointer on the left one: the notice stands by the tray.
        QTest::newRow("tray on the right monitor") << false << true;
    }

    void reminderShowsAtItsFirstTick() {
        QFETCH(bool, mailNotice);
        QFETCH(bool, trayOnTheRight);
        if (trayOnTheRight) {
            m_desktop->windows.otherScreens = {QRect(1920, 0, 1920, 1080)};
            m_desktop->windows.cursor = QPoint(100, 100);
            m_desktop->windows.setTrayIconLocator([] { return QRect(3800, 1052, 24, 24); });
        }
        addEvent(2, QStringLiteral("Dentist"));
        addEvent(0, QStringLiteral("<b>Call Ann</b>"));
        if (mailNotice)
            m_desktop->windows.openWindows << WindowTitles::NewMail;

        m_notices->loadReminder();
        Reminder* r = m_notices->reminder();
        m_notices->loadReminder();
        QCOMPARE(m_notices->reminder(), r);
        QCOMPARE(r->windowTitle(), QStringLiteral("- Reminder -"));
        QVERIFY(m_desktop->windows.shownWindows.isEmpty());

        r->remindTimerTick();
        QCOMPARE(m_desktop->windows.madeTopmost, QList<QWidget*>{r});
        QCOMPARE(m_desktop->windows.shownWindows, QList<QWidget*>{r});
        QCOMPARE(r->windowOpacity(), 220 / 255.0);
        const int lift = mailNotice ? 108 : 0;
        QCOMPARE(r->pos(), trayOnTheRight ? QPoint(3840 - r->width(), 1080 - r->height())
                                          : QPoint(1920 - r->width(), 1040 - r->height() - lift));
        QVERIFY(QFile::exists(rmwav()));

        const auto* days = r->findChild<QLabel*>(QStringLiteral("DaysLB"));
        const auto* message = r->findChild<QLabel*>(QStringLiteral("MessageLB"));
        QCOMPARE(days->text(), QStringLiteral("Today's event."));
        QCOMPARE(message->text(), QStringLiteral("<b>Call Ann</b>"));
        QCOMPARE(message->textFormat(), Qt::PlainText);
        r->stepUp();
        QCOMPARE(days->text(), QStringLiteral("2 day(s) from now."));

        r->clicked();
        QCOMPARE(m_calendar, QList<QDate>{m_clock.today().addDays(2)});
        QCOMPARE(m_notices->reminder(), r); // and it stays
    }

    // A description longer than the window holds ends with an ellipsis on the last line
    // that fits whole; the tool tip shows it all, markup as written.
    void longTextsEndWithAnEllipsis() {
        const QString markup = QStringLiteral("<h1 style=\"color:red\">BIG RED</h1> ");
        const QString text = markup + QStringLiteral("a very long description ").repeated(12);
        addEvent(0, text);
        m_notices->loadReminder();
        Reminder* r = m_notices->reminder();
        r->remindTimerTick();
        auto* message = r->findChild<QLabel*>(QStringLiteral("MessageLB"));
        const QString shown = message->text();
        QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
        QVERIFY(shown.startsWith(markup.trimmed()));
        const QFontMetrics metrics(message->font());
        QVERIFY(metrics.boundingRect(message->contentsRect(), Qt::TextWordWrap, shown).height() <=
                message->contentsRect().height());
        for (const QString& line : shown.split(u'\n'))
            QVERIFY(metrics.horizontalAdvance(line) <= message->contentsRect().width());

        QTextDocument tip;
        tip.setHtml(message->toolTip());
        QCOMPARE(tip.toPlainText(), text);
        QVERIFY(!message->toolTip().contains(QStringLiteral("<h1")));

        const auto* up = r->findChild<QWidget*>(QStringLiteral("EventsUDUp"));
        const auto* down = r->findChild<QWidget*>(QStringLiteral("EventsUDDown"));
        QCOMPARE(up->accessibleName(), QStringLiteral("Next event"));
        QCOMPARE(down->accessibleName(), QStringLiteral("Previous event"));
    }

    void shortTextsStayWhole() {
        QCOMPARE(Reminder::fitText(QStringLiteral("Dentist"), QFont(), QSize(250, 40)),
                 QStringLiteral("Dentist"));
    }

    void reminderWithNothingToAnnounceBuildsNoWindow() {
        addEvent(4, QStringLiteral("beyond the horizon"));
        m_notices->loadReminder();
        QVERIFY(!m_notices->reminder());
        QVERIFY(m_desktop->windows.shownWindows.isEmpty() && m_calendar.isEmpty());
        QVERIFY(!QFile::exists(rmwav()));
        QVERIFY(!m_notices->popMsg());
        m_notices->loadReminder(true); // asked for by the user: told that nothing is coming
        QVERIFY(m_notices->popMsg());
        QCOMPARE(m_notices->popMsg()->message(), QStringLiteral("No events in the coming 3 days."));
        QVERIFY(!m_notices->reminder());
        addEvent(1, QStringLiteral("tomorrow"));
        m_notices->loadReminder(); // the next load finds something and builds the window
        QVERIFY(m_notices->reminder());
    }

    // The message shows its whole text: a long one makes the window taller, then wider,
    // within the screen; a second message on screen goes below the first instead of
    // replacing it unseen, and the same one twice is shown once.
    void popMsgShowsEveryWholeText() {
        const QString shortText = QStringLiteral("No events today.");
        MessagePopup* msg = m_notices->showPopMessage(shortText, QString());
        QVERIFY(msg);
        msg->show();
        QVERIFY(QTest::qWaitForWindowExposed(msg));
        QCOMPARE(msg->size(), QSize(320, 72));
        const QRect screen = m_desktop->windows.screenGeometry();

        QString reason = QStringLiteral("The calendar \"Team\" could not be refreshed. Plumora "
                                        "will try again later.\n\n");
        for (int i = 0; i < 12; ++i)
            reason +=
                QStringLiteral("the server answered 503 Service Unavailable at try %1; ").arg(i);
        QCOMPARE(m_notices->showPopMessage(reason, QString()), msg);
        QCOMPARE(msg->message(), shortText + QStringLiteral("\n\n") + reason);
        auto* label = msg->findChild<QLabel*>(QStringLiteral("MessageLB"));
        QVERIFY(msg->height() > 72);
        QVERIFY(screen.contains(msg->geometry()));
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
        const QString shots = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        if (QDir().mkpath(shots))
            msg->grab().save(QDir(shots).filePath(
                QStringLiteral("popmsg-x%1.png").arg(msg->devicePixelRatio())));
        m_notices->showPopMessage(reason, QString());
        QCOMPARE(msg->message(), shortText + QStringLiteral("\n\n") + reason);
        // Closed and opened anew: the new text alone.
        msg->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MessagePopup* next = m_notices->showPopMessage(shortText, QString());
        QCOMPARE(next->message(), shortText);
    }

    // A click shortly before MsgTimer runs out performs the action once and closes the
    // window, taking its timer with it.
    void popMsgClickPerformsTheActionOnce_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("menu");
        QTest::addColumn<QStringList>("urls");
        QTest::newRow("tool") << "Options" << QStringList{"Options"} << QStringList();
        QTest::newRow("web address")
            << "http://example.org/" << QStringList() << QStringList{"http://example.org/"};
        QTest::newRow("HTTP is no web address")
            << "HTTP://x.org/" << QStringList() << QStringList();
        QTest::newRow("no action") << "" << QStringList() << QStringList();
    }

    void popMsgClickPerformsTheActionOnce() {
        QFETCH(QString, action);
        QFETCH(QStringList, menu);
        QFETCH(QStringList, urls);
        MessagePopup* shown = m_notices->showPopMessage(QStringLiteral("Click here."), action);
        QVERIFY(shown);
        QPointer<MessagePopup> msg = shown;
        QCOMPARE(m_notices->showPopMessage(QStringLiteral("again"), action), shown);
        QCOMPARE(msg->windowTitle(), QStringLiteral("- Plumora -"));
        QCOMPARE(msg->message(), QStringLiteral("again"));
        QCOMPARE(msg->msgTimer().interval(), 15000);
        QVERIFY(msg->msgTimer().isActive());

        msg->show();
        QVERIFY(QTest::qWaitForWindowExposed(msg));
        // The second click reaches the window before it is gone, as a quick double-click can.
        auto* label = msg->findChild<QLabel*>(QStringLiteral("MessageLB"));
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(!shown->isVisible() && !shown->msgTimer().isActive()); // deleted later
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(m_menu, menu);
        QCOMPARE(m_desktop->shell.openedUrls, urls);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!msg && !m_notices->popMsg());
    }

    // A message longer than the window (the sync's conflict notice naming the copies) shows
    // whole, the window's corner where it was; a short one gives the window back its size.
    void popMsgGrowsForItsText() {
        MessagePopup* msg = m_notices->showPopMessage(QStringLiteral("Short."), QString());
        QVERIFY(msg);
        const QRect small = msg->geometry();
        const QString name = QStringLiteral(
            "Parents' evening at the music school, hall B (edited on this computer)");
        msg->setMessage(QStringLiteral("Changed both here and on the server, so kept twice; "
                                       "this computer's version is now:\n") +
                        name + u'\n' + name);
        msg->show();
        QVERIFY(QTest::qWaitForWindowExposed(msg));
        auto* label = msg->findChild<QLabel*>(QStringLiteral("MessageLB"));
        QVERIFY(msg->size() != small.size());
        QCOMPARE(msg->geometry().bottomRight(), small.bottomRight());
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
        QVERIFY(label->geometry().bottom() < msg->height());
        msg->setMessage(QStringLiteral("Short again."));
        QCOMPARE(msg->geometry(), small);
        msg->close();
    }
};

QTEST_MAIN(TestNoticeWindows)
#include "tst_noticewindows.moc"
