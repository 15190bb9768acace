// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/NoticePlacement.h"
#include "shell/ShellTables.h"
#include "shell/TrayActivations.h"
#include "shell/TrayMenuEntries.h"

#include <QTest>

using Corner = NoticePlacement::Corner;
using Action = TrayActivations::Action;

// The D-Bus tray's rules: the clicks a host reports, the menu it is given, and the corner
// the notices take beside the tray.
class TestTrayRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void activateCallsMakeClicksAndDoubleClicks() {
        TrayActivations clicks;
        const int interval = 400;
        // Two calls within the interval are a double-click; a third starts over.
        QCOMPARE(clicks.activate(1000, interval), Action::ShowMenu);
        QCOMPARE(clicks.activate(1250, interval), Action::OpenCalendar);
        QCOMPARE(clicks.activate(1400, interval), Action::ShowMenu);
        // Slower than the interval: two single clicks.
        QCOMPARE(clicks.activate(1900, interval), Action::ShowMenu);
        QCOMPARE(clicks.activate(2300, interval), Action::OpenCalendar);
        QCOMPARE(clicks.activate(5000, interval), Action::ShowMenu);
        QCOMPARE(clicks.activate(5401, interval), Action::ShowMenu);
        // A clock that went back never pairs a click with a later one.
        TrayActivations back;
        QCOMPARE(back.activate(9000, interval), Action::ShowMenu);
        QCOMPARE(back.activate(100, interval), Action::ShowMenu);
    }

    void aTrayThatGoesIsToldOnceAndOnlyAfterOneHeldTheIcon() {
        TrayLoss loss;
        QVERIFY(!loss.update(false)); // none from the start: start-up says that
        QVERIFY(!loss.update(true));
        QVERIFY(loss.update(false));
        QVERIFY(!loss.update(false));
        QVERIFY(!loss.update(true));
        QVERIFY(!loss.update(false));
    }

    void theExportedMenuHasTheMenusEntriesLinesAndStates() {
        using TrayMenuEntries::Entry;
        QList<TrayMenuEntries::Tool> tools{{0, QStringLiteral("Personal Calendar"), false},
                                           {1, QStringLiteral("&Quick Notes"), false},
                                           {2, QStringLiteral("Odd_name"), true},
                                           {TrayMenu::ItemCount, QStringLiteral("Extra"), false}};
        QList<Entry> entries = TrayMenuEntries::build(tools);
        QList<int> order;
        for (const Entry& e : entries)
            order << e.index;
        QCOMPARE(order, (QList<int>{0, 1, -1, 2, TrayMenu::ItemCount, -1, TrayMenu::ShowReminder,
                                    -1, TrayMenu::Help, TrayMenu::About, TrayMenu::Web, -1,
                                    TrayMenu::Unload}));
        entries[1].enabled = false;

        const DBusMenuNode root = TrayMenuEntries::exported(entries);
        QCOMPARE(root.id, 0);
        QCOMPARE(root.children.size(), entries.size());
        QSet<int> ids;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const DBusMenuNode& item = root.children.at(i);
            QVERIFY2(!ids.contains(item.id), "every item has its own id");
            ids << item.id;
            QCOMPARE(TrayMenuEntries::indexOfId(item.id), entries.at(i).index);
            if (entries.at(i).isSeparator()) {
                QCOMPARE(item.properties.value("type").toString(), QStringLiteral("separator"));
                QVERIFY(!item.properties.contains("label"));
            }
        }
        const auto label = [&](int i) { return root.children.at(i).properties.value("label"); };
        QCOMPARE(label(0).toString(), QStringLiteral("Personal Calendar"));
        // The accelerator in dbusmenu's form, and an underscore that is none.
        QCOMPARE(label(1).toString(), QStringLiteral("_Quick Notes"));
        QCOMPARE(label(3).toString(), QStringLiteral("Odd__name"));
        QCOMPARE(label(12).toString(), QStringLiteral("Unload Plumora"));
        QCOMPARE(root.children.at(1).properties.value("enabled"), QVariant(false));
        QVERIFY(!root.children.at(0).properties.contains("enabled"));
        QCOMPARE(TrayMenuEntries::exportedLabel(QStringLiteral("Fish && &Chips")),
                 QStringLiteral("Fish & _Chips"));
        QCOMPARE(TrayMenuEntries::indexOfId(0), -1);
        QVERIFY(root.find(TrayMenu::Unload + 1));
        QVERIFY(!root.find(4242));
    }

    void noticesTakeTheCornerNearestTheTray_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QRect>("tray");
        QTest::addColumn<Corner>("corner");
        QTest::addColumn<QPoint>("topLeft");
        const QRect full(0, 0, 1920, 1080);
        const QRect bottomPanel(0, 0, 1920, 1040);
        const QRect topPanel(0, 28, 1920, 1052);
        const QRect leftPanel(48, 0, 1872, 1080);
        const QRect rightPanel(0, 0, 1872, 1080);
        QTest::newRow("bottom panel, icon at the right")
            << full << bottomPanel << QRect(1880, 1050, 22, 22) << Corner::BottomRight
            << QPoint(1620, 940);
        QTest::newRow("top panel, icon at the right")
            << full << topPanel << QRect(1880, 3, 22, 22) << Corner::TopRight << QPoint(1620, 28);
        QTest::newRow("top panel, icon at the left")
            << full << topPanel << QRect(10, 3, 22, 22) << Corner::TopLeft << QPoint(0, 28);
        QTest::newRow("left panel, icon at the bottom")
            << full << leftPanel << QRect(12, 1040, 22, 22) << Corner::BottomLeft
            << QPoint(48, 980);
        QTest::newRow("right panel, icon at the top")
            << full << rightPanel << QRect(1885, 12, 22, 22) << Corner::TopRight << QPoint(1572, 0);
        QTest::newRow("a host's point at the top right")
            << full << topPanel << QRect(1268, 14, 1, 1) << Corner::TopRight << QPoint(1620, 28);
        // No icon known: the edge the panel reserves tells.
        QTest::newRow("strut: top")
            << full << topPanel << QRect() << Corner::TopRight << QPoint(1620, 28);
        QTest::newRow("strut: bottom")
            << full << bottomPanel << QRect() << Corner::BottomRight << QPoint(1620, 940);
        QTest::newRow("strut: left")
            << full << leftPanel << QRect() << Corner::BottomLeft << QPoint(48, 980);
        QTest::newRow("strut: right")
            << full << rightPanel << QRect() << Corner::BottomRight << QPoint(1572, 980);
        QTest::newRow("no panel at all")
            << full << full << QRect() << Corner::BottomRight << QPoint(1620, 980);
        // The right monitor of two, with its own top panel.
        QTest::newRow("second monitor, top panel")
            << QRect(1920, 0, 1280, 1024) << QRect(1920, 30, 1280, 994) << QRect(3150, 4, 22, 22)
            << Corner::TopRight << QPoint(2900, 30);
        QTest::newRow("second monitor, strut only")
            << QRect(1920, 0, 1280, 1024) << QRect(1920, 0, 1280, 990) << QRect()
            << Corner::BottomRight << QPoint(2900, 890);
    }
    void noticesTakeTheCornerNearestTheTray() {
        QFETCH(QRect, screen);
        QFETCH(QRect, workArea);
        QFETCH(QRect, tray);
        QFETCH(Corner, corner);
        QFETCH(QPoint, topLeft);
        const Corner found = NoticePlacement::corner(screen, workArea, tray);
        QCOMPARE(found, corner);
        QCOMPARE(NoticePlacement::place(QSize(300, 100), workArea, found, false), topLeft);
    }

    void theLiftMovesAwayFromTheCornersEdge() {
        const QRect area(0, 28, 1920, 1052);
        const int lift = NoticePlacement::LiftPixels;
        QCOMPARE(NoticePlacement::place(QSize(300, 100), area, Corner::TopRight, true),
                 QPoint(1620, 28 + lift));
        QCOMPARE(NoticePlacement::place(QSize(300, 100), area, Corner::BottomLeft, true),
                 QPoint(0, 1080 - 100 - lift));
    }
};

QTEST_GUILESS_MAIN(TestTrayRules)
#include "tst_trayrules.moc"
