// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "shell/TrayMenuEntries.h"
#include "shell/ui/AppIcon.h"
#include "shell/ui/CommandDispatcher.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/Menu.h"
#include "shell/ui/TrayController.h"

#include <QFileInfo>
#include <QPainter>
#include <QPointer>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>

// The controller's start-up on a desktop without a notification area (the offscreen
// platform has none), as on stock GNOME.
class TestSysTray : public QObject {
    Q_OBJECT

    struct Install {
        QTemporaryDir dir;
        FakeClock clock;
        AppContext context;
        int reminders = 0;
        explicit Install(FakeDesktop& desktop)
            : context(desktop.context(AppPaths(dir.path(), dir.path()), clock)) {
            programSchema().createTemplate(context.paths.templateFile(), QDate(2026, 1, 1));
        }
        struct Running {
            std::unique_ptr<CommandDispatcher> dispatcher;
            std::unique_ptr<TrayController> tray;
        };
        Running start() {
            Running r;
            r.dispatcher = std::make_unique<CommandDispatcher>(context);
            registerProgramTools(r.dispatcher->tools());
            QObject::connect(r.dispatcher.get(), &CommandDispatcher::reminderChosen,
                             [this] { ++reminders; });
            r.tray = std::make_unique<TrayController>(context, *r.dispatcher);
            r.tray->create();
            return r;
        }
        // The program's own start: the icon first, creation once the event loop turns.
        Running launch() {
            Running r;
            r.dispatcher = std::make_unique<CommandDispatcher>(context);
            registerProgramTools(r.dispatcher->tools());
            QObject::connect(r.dispatcher.get(), &CommandDispatcher::reminderChosen,
                             [this] { ++reminders; });
            r.tray = std::make_unique<TrayController>(context, *r.dispatcher);
            if (r.tray->start())
                QCoreApplication::processEvents();
            return r;
        }
    };

private Q_SLOTS:
    // The tray paints the icon into its own surface: at a device pixel ratio of 2 it is
    // drawn with twice the pixels, not stretched from the small one.
    void theIconIsDrawnForTheScreensPixelRatio() {
        const QIcon icon = plumoraIcon();
        QImage painted(44, 44, QImage::Format_ARGB32_Premultiplied);
        painted.setDevicePixelRatio(2);
        painted.fill(Qt::transparent);
        {
            QPainter p(&painted);
            icon.paint(&p, QRect(0, 0, 22, 22));
        }
        QImage sharp = icon.pixmap(QSize(44, 44), 1.0)
                           .toImage()
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        sharp.setDevicePixelRatio(2);
        QCOMPARE(painted, sharp);
    }

    void firstStartShowsHelpOnceAndLoadsTheReminder() {
        FakeDesktop desktop;
        Install in(desktop);
        auto running = in.start();
        QVERIFY(QFileInfo::exists(in.context.paths.dataFile()));
        QVERIFY(running.dispatcher->helpWindow());
        QCOMPARE(in.reminders, 1);
        running = {};
        QVERIFY(!in.start().dispatcher->helpWindow());
    }

    void withoutATrayTheUserIsToldOnceAndGetsTheMainWindow() {
        FakeDesktop desktop;
        Install in(desktop);
        auto running = in.launch();
        QVERIFY(!running.tray->trayIcon());
        QVERIFY(running.tray->timer().isActive());
        QCOMPARE(desktop.dialogs.messages.size(), 1);
        QCOMPARE(desktop.dialogs.messages.first().title, QStringLiteral("Plumora"));
        QVERIFY(running.dispatcher->mainWindow());

        Install other(desktop);
        auto again = other.launch();
        QVERIFY(again.tray->timer().isActive());
        QCOMPARE(desktop.dialogs.messages.size(), 1);
    }

    // A damaged data file is left alone and the user told once, in plain words, how to mend it.
    void anUnreadableDataFileIsReportedOncePerStart() {
        FakeDesktop desktop;
        Install in(desktop);
        QFile garbage(in.context.paths.dataFile());
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, '\x5a'));
        garbage.close();
        auto running = in.start();
        QCOMPARE(desktop.dialogs.messages.size(), 1);
        const QString text = desktop.dialogs.messages[0].text;
        QVERIFY(text.contains(in.context.paths.dataFile()));
        QVERIFY(text.contains(QLatin1String("temp.plm")));
        QVERIFY(text.contains(QLatin1String("Restore")));
        QCOMPARE(desktop.dialogs.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(QFileInfo(in.context.paths.dataFile()).size(), 4096);
    }

    // The one copy puts its icon up before the creation steps; a second start runs none of
    // them (no reminder, no timer) and only asks the first to show itself.
    void startCreatesAfterTheIconAndASecondStartChangesNothing() {
        FakeDesktop desktop;
        Install in(desktop);
        CommandDispatcher dispatcher(in.context);
        registerProgramTools(dispatcher.tools());
        QObject::connect(&dispatcher, &CommandDispatcher::reminderChosen, [&] { ++in.reminders; });
        TrayController first(in.context, dispatcher);
        QVERIFY(first.start());
        QCOMPARE(in.reminders, 0);
        QCoreApplication::processEvents();
        QCOMPARE(in.reminders, 1);
        QVERIFY(first.timer().isActive());
        QVERIFY(QFileInfo::exists(in.context.paths.dataFile()));
        // No tray here: the icon put up at once is taken down and the user told.
        QVERIFY(!first.trayIcon());
        QCOMPARE(desktop.dialogs.messages.size(), 1);

        TrayController second(in.context, dispatcher);
        QVERIFY(!second.start());
        QCoreApplication::processEvents();
        QCOMPARE(in.reminders, 1);
        QVERIFY(!second.timer().isActive());
    }

    void doubleClickOpensTheCalendarAndTheNextClickTheMenu() {
        FakeDesktop desktop;
        Install in(desktop);
        auto running = in.start();
        running.tray->handleActivation(QSystemTrayIcon::DoubleClick);
        QVERIFY(running.dispatcher->mainWindow());
        QVERIFY(!running.dispatcher->menuWindow());
        running.tray->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(running.dispatcher->menuWindow());
        QVERIFY(desktop.windows.shownWindows.contains(
            static_cast<QWidget*>(running.dispatcher->menuWindow())));
    }

    // The D-Bus tray's clicks: two Activate calls within the double-click interval open the
    // calendar and close the menu the first one opened; a slower second call is a click.
    void twoActivateCallsAreADoubleClick() {
        FakeDesktop desktop;
        Install in(desktop);
        auto running = in.start();
        const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        QList<QWidget*>& shown = desktop.windows.shownWindows;
        const auto menusShown = [&] {
            return std::ranges::count_if(shown, [](const QWidget* w) {
                return w && w->objectName() == QLatin1String("Menu");
            });
        };
        running.tray->handleActivate(QPoint(1268, 14));
        QPointer<Menu> menu = running.dispatcher->menuWindow();
        QVERIFY(menu && shown.contains(menu.data()));
        in.clock.advanceMs(interval / 2);
        running.tray->handleActivate(QPoint(1268, 14));
        QVERIFY(shown.contains(running.dispatcher->mainWindow()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(!menu, "the first click's menu is closed");
        // Slower than the interval: each call is a click of its own.
        shown.clear();
        in.clock.advanceMs(interval + 1);
        running.tray->handleActivate(QPoint(1268, 14));
        in.clock.advanceMs(interval + 1);
        running.tray->handleActivate(QPoint(1268, 14));
        QCOMPARE(menusShown(), 2);
        QVERIFY(!shown.contains(running.dispatcher->mainWindow()));
    }

    // A middle click opens the calendar; an entry of the exported menu does what the same
    // entry of the menu window does.
    void theMiddleClickAndTheExportedMenu() {
        FakeDesktop desktop;
        Install in(desktop);
        auto running = in.start();
        running.tray->handleSecondaryActivate();
        QVERIFY(running.dispatcher->mainWindow());
        QVERIFY(desktop.windows.shownWindows.contains(running.dispatcher->mainWindow()));
        running.tray->handleExportedMenuItem(TrayMenu::Unload + 1);
        QCOMPARE(desktop.dialogs.messages.size(), 1);
        QCOMPARE(desktop.dialogs.messages.first().text, "Unload Plumora?  ");
        // A line or an id the menu never had does nothing.
        running.tray->handleExportedMenuItem(TrayMenuEntries::LineIds + 2);
        running.tray->handleExportedMenuItem(0);
        QCOMPARE(desktop.dialogs.messages.size(), 1);
    }
};

QTEST_MAIN(TestSysTray)
#include "tst_systray.moc"
