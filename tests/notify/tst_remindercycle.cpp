// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TickTimer.h"
#include "mock/FakeClock.h"
#include "mock/FakeTickTimer.h"
#include "notify/ReminderCycle.h"

#include <QTest>

namespace {

// A cycle of `count` entries loaded at monotonic 0, recording what it asks of the window.
struct Rig final : ReminderCycle::View {
    FakeClock clock;
    FakeTickTimer timer{clock};
    ReminderCycle cycle;
    qint64 shownAt = -1;
    qint64 closedAt = -1;
    QList<QPair<qint64, int>> displays; // (ms after showing, index)

    explicit Rig(int count) : cycle(clock, timer, *this, count) {
        timer.onTimeout = [this] { cycle.tick(); };
        cycle.start();
    }
    void showNotice() override { shownAt = clock.monotonicMs(); }
    void display(int index) override { displays.append({clock.monotonicMs() - shownAt, index}); }
    void closeNotice() override { closedAt = clock.monotonicMs() - shownAt; }
    // The window shows 1 s after loading.
    void runToShown(int s) { timer.runUntil(1000 + s * 1000); }
};

} // namespace

class TestReminderCycle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nothingToAnnounceClosesAtTheFirstTickUnseen() {
        Rig rig(0);
        QCOMPARE(rig.timer.interval, 1000);
        rig.timer.runUntil(5000);
        QCOMPARE(rig.shownAt, -1);
        QVERIFY(rig.cycle.isClosed());
        QVERIFY(rig.displays.isEmpty());
        QVERIFY(!rig.timer.active);
    }

    void showsAtOnceAdvancesEverySixSecondsWrapsAndClosesAtFiftyFour() {
        Rig rig(4);
        rig.timer.runUntil(999);
        QCOMPARE(rig.shownAt, -1);
        rig.runToShown(120);
        QCOMPARE(rig.shownAt, 1000);
        QCOMPARE(rig.timer.interval, 6000);
        QCOMPARE(rig.displays.size(), 9);
        for (int i = 0; i < rig.displays.size(); ++i)
            QCOMPARE(rig.displays[i], qMakePair(qint64(i) * 6000, i % 4));
        QCOMPARE(rig.closedAt, 54000);
    }

    // The keep-alive counts 40 s as elapsed and the step restarts the timer, so the window
    // closes at the second tick after the click.
    void stepFortyFiveSecondsAfterShowingClosesTwelveSecondsLater_data() {
        QTest::addColumn<bool>("up");
        QTest::newRow("next") << true;
        QTest::newRow("previous") << false;
    }

    void stepFortyFiveSecondsAfterShowingClosesTwelveSecondsLater() {
        QFETCH(bool, up);
        Rig rig(20);
        rig.runToShown(45);
        QCOMPARE(rig.cycle.currentIndex(), 7);
        up ? rig.cycle.stepUp() : rig.cycle.stepDown();
        QCOMPARE(rig.displays.last(), qMakePair(qint64(45000), up ? 8 : 6));
        rig.runToShown(120);
        QCOMPARE(rig.displays.last(), qMakePair(qint64(51000), up ? 9 : 7));
        QCOMPARE(rig.closedAt, 57000);
    }

    // No wrap on a step: at the ends nothing moves and the timer keeps its rhythm, but the
    // window still stays at least 10 s longer.
    void stepAtEitherEndOnlyKeepsAlive_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("up");
        // At 45 s the tick of 42 s has shown entry 7 mod count.
        QTest::newRow("previous at the first entry") << 7 << false;
        QTest::newRow("next at the last entry") << 2 << true;
    }

    void stepAtEitherEndOnlyKeepsAlive() {
        QFETCH(int, count);
        QFETCH(bool, up);
        Rig rig(count);
        rig.runToShown(45);
        const int before = rig.cycle.currentIndex();
        const qint64 due = rig.timer.due;
        const auto shown = rig.displays.size();
        up ? rig.cycle.stepUp() : rig.cycle.stepDown();
        QCOMPARE(rig.cycle.currentIndex(), before);
        QCOMPARE(rig.displays.size(), shown);
        QCOMPARE(rig.timer.due, due);
        rig.runToShown(120);
        QCOMPARE(rig.closedAt, 60000); // 54 s without the keep-alive
    }
};

QTEST_GUILESS_MAIN(TestReminderCycle)
#include "tst_remindercycle.moc"
