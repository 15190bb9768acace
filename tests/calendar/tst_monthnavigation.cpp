// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/MonthNavigation.h"

#include <QTest>

using MonthNavigation::Step;

namespace {
const QDate Today(2026, 3, 10);
} // namespace

Q_DECLARE_METATYPE(Step::Kind)

class TestMonthNavigation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keys_data() {
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<Step::Kind>("kind");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("redrawAll");
        const QDate jan31(2026, 1, 31);
        const auto select = Step::Kind::Select;
        QTest::newRow("Page Down: next month, day kept within it")
            << jan31 << int(Qt::Key_PageDown) << false << select << QDate(2026, 2, 28) << false;
        QTest::newRow("Page Up") << jan31 << int(Qt::Key_PageUp) << false << select
                                 << QDate(2025, 12, 31) << false;
        QTest::newRow("Ctrl+Page Down: next year, drawn again")
            << QDate(2024, 2, 29) << int(Qt::Key_PageDown) << true << select << QDate(2025, 2, 28)
            << true;
        QTest::newRow("Ctrl+Page Up at 1753 stays") << QDate(1753, 6, 1) << int(Qt::Key_PageUp)
                                                    << true << Step::Kind::Stay << QDate() << false;
        QTest::newRow("Page Up into 1753 goes to today")
            << QDate(1754, 1, 15) << int(Qt::Key_PageUp) << false << select << Today << false;
        QTest::newRow("Up: a week back")
            << jan31 << int(Qt::Key_Up) << false << select << QDate(2026, 1, 24) << false;
        QTest::newRow("Down") << jan31 << int(Qt::Key_Down) << false << select << QDate(2026, 2, 7)
                              << false;
        QTest::newRow("Left") << jan31 << int(Qt::Key_Left) << false << select << QDate(2026, 1, 30)
                              << false;
        QTest::newRow("Right past the last date stays on it")
            << QDate(9999, 12, 31) << int(Qt::Key_Right) << false << select << QDate(9999, 12, 31)
            << false;
        QTest::newRow("Return opens the editor")
            << jan31 << int(Qt::Key_Return) << false << Step::Kind::Edit << QDate() << false;
    }
    void keys() {
        QFETCH(QDate, selected);
        QFETCH(int, key);
        QFETCH(bool, ctrl);
        QFETCH(Step::Kind, kind);
        QFETCH(QDate, date);
        QFETCH(bool, redrawAll);
        const Step s =
            MonthNavigation::key(selected, key, ctrl ? Qt::ControlModifier : Qt::NoModifier, Today);
        QCOMPARE(s.kind, kind);
        QCOMPARE(s.date, date);
        QCOMPARE(s.redrawAll, redrawAll);
    }

    // The buttons do what their keys do; a click moves by the cells between.
    void buttonsAndClicks() {
        const QDate d(2026, 3, 31);
        QCOMPARE(MonthNavigation::monthButton(d, true, Today).date, QDate(2026, 4, 30));
        QCOMPARE(MonthNavigation::monthButton(d, false, Today).date, QDate(2026, 2, 28));
        QCOMPARE(MonthNavigation::yearButton(QDate(9999, 1, 1), 1).kind, Step::Kind::Stay);
        const Step today = MonthNavigation::goToday(Today);
        QVERIFY(today.kind == Step::Kind::Select && today.redrawAll);
        QCOMPARE(today.date, Today);
        // From cell 37 to cell 2: five weeks back.
        const Step click = MonthNavigation::press(d, 2, 37);
        QCOMPARE(click.date, QDate(2026, 2, 24));
        QVERIFY(!click.redrawAll);
    }

    void texts() {
        const QLocale english(QLocale::English, QLocale::UnitedKingdom);
        QCOMPARE(MonthNavigation::title(Today, english), "March 2026");
        QCOMPARE(MonthNavigation::dayName(Today, english), "Tuesday, 10 March 2026");
        const QLocale german(QStringLiteral("de_DE"));
        QCOMPARE(MonthNavigation::title(QDate(2026, 12, 5), german), "Dezember 2026");
        QCOMPARE(MonthNavigation::dayName(QDate(2026, 12, 5), german), "Samstag, 5. Dezember 2026");
        std::vector<MonthLayout::TooltipEntry> tips;
        QCOMPARE(MonthNavigation::eventsText(tips, Today), "No events.");
        tips.push_back({QStringLiteral("Dentist"), MonthLayout::tooltipKey(Today)});
        tips.push_back({QStringLiteral("Other day"), MonthLayout::tooltipKey(Today.addDays(1))});
        tips.push_back({QStringLiteral("Call Ann"), MonthLayout::tooltipKey(Today)});
        QCOMPARE(MonthNavigation::eventsText(tips, Today), "Events: Dentist; Call Ann");
    }
};

QTEST_GUILESS_MAIN(TestMonthNavigation)
#include "tst_monthnavigation.moc"
