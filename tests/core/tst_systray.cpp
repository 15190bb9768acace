#include "core/Schema.h"
#include "core/ui/Menu.h"
#include "core/ui/PLM.h"
#include "core/ui/Shell.h"
#include "core/ui/SysTray.h"
#include "mock/FakeClock.h"
#include "mock/FakePlatform.h"

#include <QFileInfo>
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
        explicit Install(FakePlatform& platform)
            : context{AppPaths(dir.path(), dir.path()), clock, platform} {
            Schema::createTemplate(context.paths.templateFile(), QDate(2026, 1, 1));
        }
        std::unique_ptr<SysTray> start() {
            auto tray = std::make_unique<SysTray>(context);
            tray->shell().setReminderLoader([this] { ++reminders; });
            tray->create();
            return tray;
        }
    };

private Q_SLOTS:
    void firstStartShowsHelpOnceAndLoadsTheReminder() {
        FakePlatform platform;
        Install in(platform);
        auto tray = in.start();
        QVERIFY(QFileInfo::exists(in.context.paths.dataFile()));
        QVERIFY(tray->shell().helpWindow());
        QCOMPARE(in.reminders, 1);
        tray.reset();
        QVERIFY(!in.start()->shell().helpWindow());
    }

    void withoutATrayTheUserIsToldOnceAndGetsTheMainWindow() {
        FakePlatform platform;
        Install in(platform);
        auto tray = in.start();
        QVERIFY(tray->load());
        QVERIFY(!tray->trayIcon());
        QVERIFY(tray->timer().isActive());
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages.first().title, QStringLiteral("Plumora"));
        QVERIFY(tray->shell().mainWindow());

        Install other(platform);
        auto again = other.start();
        QVERIFY(again->load());
        QCOMPARE(platform.messages.size(), 1);
    }

    void aSecondCopyEndsWithoutIconOrTimer() {
        FakePlatform platform;
        Install in(platform);
        auto first = in.start();
        QVERIFY(first->load());
        auto second = in.start();
        QVERIFY(!second->load());
        QVERIFY(!second->timer().isActive());
    }

    void doubleClickOpensTheCalendarAndTheNextClickTheMenu() {
        FakePlatform platform;
        Install in(platform);
        auto tray = in.start();
        tray->handleActivation(QSystemTrayIcon::DoubleClick);
        QVERIFY(tray->shell().mainWindow());
        QVERIFY(!tray->shell().menuWindow());
        QVERIFY(!tray->state().SuppressNextButtonUp);
        tray->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(tray->shell().menuWindow());
        QVERIFY(platform.shownForms.contains(static_cast<QWidget*>(tray->shell().menuWindow())));
    }
};

QTEST_MAIN(TestSysTray)
#include "tst_systray.moc"
