// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/ProgramTools.h"
#include "shell/MenuPlacement.h"
#include "shell/ShellTables.h"
#include "shell/TrayMenuEntries.h"
#include "shell/ui/CommandDispatcher.h"
#include "shell/ui/Menu.h"
#include "shell/ui/ToolRegistry.h"

#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

namespace {

// The program's tools, which fill the menu's first entries.
const ToolRegistry& tools() {
    static const ToolRegistry registry = [] {
        ToolRegistry r;
        registerProgramTools(r);
        return r;
    }();
    return registry;
}

// The entries from top to bottom: the first two groups, and the last one.
const QList<int> FirstGroups{0, 1, 2, 3, 4};
const int Bottom = TrayMenu::Unload;
const QStringList Captions{"Personal Calendar",
                           "Quick Notes",
                           "Power Scheduler",
                           "Quick Access",
                           "Screen Capture",
                           "Wallpaper Changer",
                           "Options",
                           "Show Reminder",
                           "Unload Plumora",
                           "Help",
                           "About",
                           "Web"};

// Counts palette changes: a label given the colour it already has must not get one.
class PaletteCounter : public QObject {
public:
    int changes = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::PaletteChange)
            ++changes;
        return false;
    }
};

// Shows windows for real and notes what the modal About box saw of the menu's timer.
class ShowingWindows : public FakeWindowSystem {
public:
    std::function<void(QWidget*)> onModal;
    bool showWindow(QWidget* window, bool modal) override {
        FakeWindowSystem::showWindow(window, modal);
        if (modal && onModal)
            onModal(window);
        else
            window->show();
        return true;
    }
};

// A shell on a program folder of its own, showing its windows for real.
struct ShellRig {
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    ShowingWindows platform;
    StoreSet data{AppPaths(dir.path(), dir.path()).dataFile()};
    AppContext context{AppPaths(dir.path(), dir.path()),
                       clock,
                       platform,
                       desktop.shell,
                       desktop.dialogs,
                       desktop.registry,
                       desktop.network,
                       desktop.mail,
                       desktop.processes,
                       desktop.grabber,
                       desktop.pictureOutput,
                       desktop.downloads,
                       desktop.secrets,
                       desktop.keys,
                       data.stores(),
                       desktop.onlineAccounts};
    CommandDispatcher shell{context};

    ShellRig() { registerProgramTools(shell.tools()); }
};

// CloseTimer's ticks, without waiting for them.
void fireCloseTimer(Menu* menu, int ticks) {
    for (int i = 0; i < ticks && menu; ++i) {
        if (menu->closeTimer().isActive()) // a paused timer does not tick
            QMetaObject::invokeMethod(&menu->closeTimer(), "timeout");
    }
}

QList<int> highlighted(const Menu& menu) {
    QList<int> on;
    for (int i = 0; i < TrayMenu::ItemCount; ++i)
        if (menu.isHighlighted(i))
            on << i;
    return on;
}

void moveOver(QLabel* label, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, label->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(label, &move);
}

} // namespace

class TestMenu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void movingAcrossTheLabelsHighlightsOneAtATime() {
        Menu menu(nullptr, tools());
        menu.show();
        PaletteCounter counter;
        for (int i = 0; i < TrayMenu::ItemCount; ++i)
            menu.label(i)->installEventFilter(&counter);
        for (int i = 0; i < TrayMenu::ItemCount; ++i) {
            moveOver(menu.label(i), QPoint(5, 5));
            QCOMPARE(highlighted(menu), QList<int>{i});
        }
        // Moving within one label assigns no colour at all.
        const int before = counter.changes;
        moveOver(menu.label(3), QPoint(5, 5));
        moveOver(menu.label(3), QPoint(9, 6));
        moveOver(menu.label(3), QPoint(12, 4));
        QCOMPARE(highlighted(menu), QList<int>{3});
        QCOMPARE(counter.changes, before + 2); // label 11 back to normal, label 3 highlighted
        menu.highlightLabel(-1);
        QVERIFY(highlighted(menu).isEmpty());
    }

    void clickingALabelCallsTheDispatcherWithItsIndex() {
        QList<int> clicked;
        Menu menu([&](int i) { clicked << i; }, tools());
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        for (int i = 0; i < TrayMenu::ItemCount; ++i)
            QTest::mouseClick(menu.label(i), Qt::LeftButton);
        QList<int> all(TrayMenu::ItemCount);
        std::iota(all.begin(), all.end(), 0);
        QCOMPARE(clicked, all);
    }

    // Down from nothing takes the top entry; Up and Down wrap round; Enter chooses.
    void theKeyboardWorksTheMenu() {
        QList<int> chosen;
        QPointer<Menu> menu = new Menu([&](int i) { chosen << i; }, tools());
        menu->show();
        const QList<int> order = FirstGroups;
        QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(menu->highlighted(), order.at(0));
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        QCOMPARE(chosen, QList<int>{order.at(1)});
        QTest::keyClick(menu, Qt::Key_Up);
        QTest::keyClick(menu, Qt::Key_Up);
        QCOMPARE(menu->highlighted(), Bottom); // wrapped to the bottom
        QTest::keyClick(menu, Qt::Key_Enter);
        QCOMPARE(chosen.last(), Bottom);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu);
    }

    // A screen reader sees every entry as a menu item named by its caption and can press it.
    void everyEntryIsAMenuItemAScreenReaderCanPress() {
        QList<int> chosen;
        Menu menu([&](int i) { chosen << i; }, tools());
        menu.show();
        for (int i = 0; i < TrayMenu::ItemCount; ++i) {
            QAccessibleInterface* entry = QAccessible::queryAccessibleInterface(menu.label(i));
            QVERIFY(entry);
            QCOMPARE(entry->role(), QAccessible::MenuItem);
            QCOMPARE(entry->text(QAccessible::Name), Captions.at(i));
            QVERIFY(entry->actionInterface());
            entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        }
        QList<int> all(TrayMenu::ItemCount);
        std::iota(all.begin(), all.end(), 0);
        QTRY_COMPARE(chosen, all);
    }

    void switchingToAnotherWindowClosesTheMenu() {
        QPointer<Menu> menu = new Menu(nullptr, tools());
        menu->show();
        menu->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        fireCloseTimer(menu, 3); // the menu in front stays
        QVERIFY(menu);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        fireCloseTimer(menu, 1);
        QTRY_VERIFY(!menu); // closed, deleted later
    }

    void aChoiceThatOpensAWindowDoesNotCloseTheMenuUnderIt() {
        QWidget other;
        QPointer<Menu> menu;
        bool aliveAfterOtherWindow = false;
        menu = new Menu(
            [&](int) {
                other.show();
                other.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&other));
                fireCloseTimer(menu, 3);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                aliveAfterOtherWindow = !menu.isNull();
            },
            tools());
        menu->show();
        menu->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        QTest::mouseClick(menu->label(TrayMenu::About), Qt::LeftButton);
        QVERIFY(aliveAfterOtherWindow);
        // Once the choice is done the timer runs again and finds another window in front.
        QTRY_VERIFY_WITH_TIMEOUT(!menu, 1000);
    }

    void showMenuPlacesTheMenuBesideTheCursor() {
        ShellRig rig;
        rig.platform.cursor = QPoint(1900, 1060);
        rig.shell.showMenu();
        Menu* menu = rig.shell.menuWindow();
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(menu->pos(), MenuPlacement::place(rig.platform.cursor, menu->size(),
                                                   rig.platform.screen, rig.platform.available));
        QVERIFY(rig.platform.madeTopmost.contains(menu));
        // A second click on the icon keeps the one menu.
        rig.shell.showMenu();
        QCOMPARE(rig.shell.menuWindow(), menu);
        const auto isMenu = [](const QWidget* w) {
            return w->objectName() == QLatin1String("Menu");
        };
        QCOMPARE(std::ranges::count_if(QApplication::topLevelWidgets(), isMenu), 1);
    }

    // A tray host's place opens the menu there, on that place's monitor, whatever the
    // pointer's.
    void aHostsPlaceOpensTheMenuOnItsMonitor() {
        ShellRig rig;
        const QRect right(1920, 0, 1280, 1024);
        rig.platform.otherScreens = {right};
        rig.platform.cursor = QPoint(100, 515);
        rig.shell.showMenu(QPoint(3100, 14));
        Menu* menu = rig.shell.menuWindow();
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(menu->pos(), MenuPlacement::place(QPoint(3100, 14), menu->size(), right, right));
        QVERIFY(right.contains(menu->geometry()));
    }

    // The D-Bus tray exports the menu window's entries and lines in the same order.
    void theExportedMenuIsTheMenuWindows() {
        Menu menu([](int) {}, tools());
        auto* grid = qobject_cast<QGridLayout*>(menu.layout());
        QVERIFY(grid);
        QStringList shown;
        for (int row = 0; row < grid->rowCount(); ++row) {
            QLayoutItem* item = grid->itemAtPosition(row, 1);
            QWidget* w = item ? item->widget() : nullptr;
            if (!w)
                continue;
            if (w->objectName() == QLatin1String("MenuLine"))
                shown << QStringLiteral("-");
            else if (auto* label = qobject_cast<QLabel*>(w))
                shown << label->text() + (label->isEnabled() ? "" : " (off)");
        }
        QStringList exported;
        const DBusMenuNode root = TrayMenuEntries::exported(tools().trayEntries());
        for (const DBusMenuNode& item : root.children) {
            if (item.properties.value("type") == QLatin1String("separator"))
                exported << QStringLiteral("-");
            else
                exported << item.properties.value("label").toString().replace("__", "_") +
                                (item.properties.value("enabled", true).toBool() ? "" : " (off)");
            const int index = TrayMenuEntries::indexOfId(item.id);
            if (index >= 0)
                QCOMPARE(menu.label(index)->text(), exported.last());
        }
        QCOMPARE(exported, shown);
        QCOMPARE(shown.count(QStringLiteral("-")),
                 5); // the tools' two groups, and the shell's three
    }

    // "Unload Plumora?" is asked with the menu gone; "No" keeps Plumora running.
    void unloadAsksWithTheMenuClosed() {
        ShellRig rig;
        rig.shell.showMenu();
        QPointer<Menu> menu = rig.shell.menuWindow();
        QVERIFY(menu && menu->isVisible());
        bool menuShownDuringQuestion = true;
        rig.desktop.dialogs.onMessage = [&](const FakeDialogs::Shown&) {
            menuShownDuringQuestion = menu && menu->isVisible();
        };
        rig.shell.dispatch(TrayMenu::Unload);
        QCOMPARE(rig.desktop.dialogs.messages.size(), 1);
        QCOMPARE(rig.desktop.dialogs.messages.first().text, "Unload Plumora?  ");
        QVERIFY(!menuShownDuringQuestion);
    }

    void aboutFromTheMenuPausesTheCloseTimer() {
        ShellRig rig;
        QStringList texts;
        bool timerRanDuringAbout = true;
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7")); // the program's own
        rig.platform.onModal = [&](QWidget* box) {
            QCOMPARE(box->objectName(), QStringLiteral("About"));
            for (const QLabel* l : box->findChildren<QLabel*>())
                texts << l->text();
            timerRanDuringAbout = rig.shell.menuWindow()->closeTimer().isActive();
        };
        rig.shell.showMenu();
        rig.shell.dispatch(TrayMenu::About);
        QVERIFY(!timerRanDuringAbout);
        QVERIFY(rig.shell.menuWindow()->closeTimer().isActive());
        for (const char* text : {"Plumora", "Version 9.8.7", "for Linux desktops",
                                 "Free software under the GNU General Public License, version "
                                 "3 or later"})
            QVERIFY2(texts.contains(QLatin1String(text)), text);
        QVERIFY(rig.platform.madeTopmost.size() >= 2); // the menu and the About box
    }
};

QTEST_MAIN(TestMenu)
#include "app/ProgramSchema.h"
#include "tst_menu.moc"
