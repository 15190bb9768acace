#include "core/SingleInstance.h"
#include "core/TrayClicks.h"

#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
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

    void aLockLeftByADeadCopyIsTakenOver() {
        QTemporaryDir dir;
        // A lock file naming a process that no longer exists, as a crash leaves it.
        QProcess dead;
        dead.start(QStringLiteral("true"));
        QVERIFY(dead.waitForStarted());
        const qint64 pid = dead.processId();
        QVERIFY(dead.waitForFinished());
        QFile lock(dir.filePath(QStringLiteral("plumora.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() +
                   '\n' + QSysInfo::machineHostName().toUtf8() + '\n');
        lock.close();
        SingleInstance next(dir.path());
        QVERIFY(next.acquire());
    }
};

QTEST_GUILESS_MAIN(TestTrayClicks)
#include "tst_trayclicks.moc"
