// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Clock.h"

#include <QTest>

#include <ctime>

// The tick reads the system clock with the local offset fixed in one look at the zone; it
// must agree with QDateTime's own reading, and follow a zone changed while it runs.
class ClockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fixedOffsetNowAgreesWithQDateTime_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("UTC") << QByteArray("UTC");
        QTest::newRow("summer time") << QByteArray("Europe/Berlin");
        QTest::newRow("half an hour off") << QByteArray("America/St_Johns");
        QTest::newRow("three quarters off") << QByteArray("Asia/Kathmandu");
    }
    void fixedOffsetNowAgreesWithQDateTime() {
        QFETCH(QByteArray, zone);
        qputenv("TZ", zone);
        tzset();
        const SystemClock clock;
        const QDateTime fixed = clock.nowWithFixedOffset();
        const QDateTime local = withFixedOffset(clock.now());
        QCOMPARE(fixed.timeSpec(), local.timeSpec());
        QCOMPARE(fixed.offsetFromUtc(), local.offsetFromUtc());
        QVERIFY(qAbs(fixed.msecsTo(local)) < 2000);
    }

    void aZoneChangedWhileRunningIsSeen() {
        qputenv("TZ", "Asia/Kathmandu");
        tzset();
        const SystemClock clock;
        QCOMPARE(clock.nowWithFixedOffset().offsetFromUtc(), 5 * 3600 + 45 * 60);
        // Nobody calls tzset() for the clock: it looks again itself.
        qputenv("TZ", "UTC");
        QCOMPARE(clock.nowWithFixedOffset().offsetFromUtc(), 0);
    }

    void cleanupTestCase() { qunsetenv("TZ"); }
};

QTEST_GUILESS_MAIN(ClockTest)
#include "tst_clock.moc"
