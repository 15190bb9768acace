// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MenuCloseRule.h"
#include "shell/MenuPlacement.h"

#include <QTest>

class TestMenuPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void place_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QSize>("menu");
        QTest::addColumn<QPoint>("expected");

        const QRect screen(0, 0, 1920, 1080);
        const QRect bottomPanel(0, 0, 1920, 1040);
        const QSize menu(180, 300);
        // 1920 px = 28800 twips, margin 800 twips: left = 28800 - 2700 - 800 = 25300 twips.
        QTest::newRow("right edge keeps 1/36 of the screen")
            << screen << bottomPanel << QPoint(1900, 1060) << menu << QPoint(1686, 760);
        QTest::newRow("just inside the margin is left alone")
            << screen << bottomPanel << QPoint(1776, 1060) << menu << QPoint(1686, 760);
        QTest::newRow("left edge is never negative")
            << screen << bottomPanel << QPoint(10, 1060) << menu << QPoint(0, 760);
        QTest::newRow("odd width rounds the half down in twips")
            << screen << bottomPanel << QPoint(960, 1060) << QSize(181, 300) << QPoint(869, 760);
        QTest::newRow("cursor inside the work area: bottom on the panel")
            << screen << bottomPanel << QPoint(960, 900) << menu << QPoint(870, 740);
        QTest::newRow("no panel: bottom at the screen's foot")
            << screen << screen << QPoint(960, 1079) << menu << QPoint(870, 780);
        QTest::newRow("panel at the top: hangs from the panel")
            << screen << QRect(0, 32, 1920, 1048) << QPoint(1900, 12) << menu << QPoint(1686, 32);
        QTest::newRow("icon at the top right in the work area: the menu opens below it")
            << screen << screen << QPoint(1900, 12) << menu << QPoint(1686, 12);
        QTest::newRow("just above the middle still opens below the cursor")
            << screen << bottomPanel << QPoint(960, 539) << menu << QPoint(870, 539);
        QTest::newRow("the middle itself stands on the bottom panel")
            << screen << bottomPanel << QPoint(960, 540) << menu << QPoint(870, 740);
        QTest::newRow("tall menu below the cursor is kept on the screen")
            << QRect(0, 0, 300, 400) << QRect(0, 0, 300, 400) << QPoint(150, 150) << QSize(100, 320)
            << QPoint(100, 80);
        QTest::newRow("top panel of a second screen below the first")
            << QRect(0, 1080, 1920, 1080) << QRect(0, 1110, 1920, 1050) << QPoint(1900, 1090)
            << menu << QPoint(1686, 1110);
        QTest::newRow("second screen to the right")
            << QRect(1920, 0, 1280, 1024) << QRect(1920, 0, 1280, 1000) << QPoint(3190, 1010)
            << menu << QPoint(1920 + 1064, 710);
        QTest::newRow("menu wider than the screen starts at its left edge")
            << QRect(0, 0, 300, 400) << QRect(0, 0, 300, 380) << QPoint(290, 390) << QSize(320, 100)
            << QPoint(0, 290);
    }

    void place() {
        QFETCH(QRect, screen);
        QFETCH(QRect, workArea);
        QFETCH(QPoint, cursor);
        QFETCH(QSize, menu);
        QFETCH(QPoint, expected);
        QCOMPARE(MenuPlacement::place(cursor, menu, screen, workArea), expected);
    }

    void closeRule_data() {
        using MenuCloseRule::Front;
        QTest::addColumn<Front>("front");
        QTest::addColumn<bool>("wasInFront");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<bool>("closes");
        QTest::newRow("menu in front") << Front::Menu << true << 0 << false;
        QTest::newRow("user went to another window of ours")
            << Front::OtherOwnWindow << true << 0 << true;
        QTest::newRow("user went to another program") << Front::OtherProgram << true << 0 << true;
        QTest::newRow("not yet in front: the window left is still in front")
            << Front::OtherOwnWindow << false << 2 << false;
        QTest::newRow("never came to the front: closes after the grace")
            << Front::OtherOwnWindow << false << 3 << true;
        QTest::newRow("never in front, the panel keeps the focus")
            << Front::OtherProgram << false << 10 << false;
        QTest::newRow("nothing of ours in front") << Front::Nothing << true << 10 << false;
    }

    void closeRule() {
        QFETCH(MenuCloseRule::Front, front);
        QFETCH(bool, wasInFront);
        QFETCH(int, ticks);
        QFETCH(bool, closes);
        QCOMPARE(MenuCloseRule::shouldClose(front, wasInFront, ticks), closes);
    }
};

QTEST_GUILESS_MAIN(TestMenuPlacement)
#include "tst_menuplacement.moc"
