// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/TrayClicks.h"

#include <QTest>

using TrayClicks::Action;

class TestTrayClicks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sequences_data() {
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<QList<Action>>("actions");
        QTest::newRow("left click opens the menu")
            << QList<int>{514} << QList<Action>{Action::ShowMenu};
        QTest::newRow("right click opens the menu")
            << QList<int>{517} << QList<Action>{Action::ShowMenu};
        QTest::newRow("double-click: menu, calendar, swallowed button-up")
            << QList<int>{514, 515, 514}
            << QList<Action>{Action::ShowMenu, Action::OpenCalendar, Action::Nothing};
        QTest::newRow("the click after a double-click opens the menu again")
            << QList<int>{515, 514, 514}
            << QList<Action>{Action::OpenCalendar, Action::Nothing, Action::ShowMenu};
        QTest::newRow("button down, move and middle button do nothing")
            << QList<int>{513, 512, 519, 520}
            << QList<Action>{Action::Nothing, Action::Nothing, Action::Nothing, Action::Nothing};
    }
    void sequences() {
        QFETCH(QList<int>, messages);
        QFETCH(QList<Action>, actions);
        bool suppress = false;
        for (int i = 0; i < messages.size(); ++i)
            QCOMPARE(TrayClicks::handle(messages.at(i), suppress), actions.at(i));
    }
};

QTEST_GUILESS_MAIN(TestTrayClicks)
#include "tst_trayclicks.moc"
