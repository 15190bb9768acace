// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/QuietReadNotifier.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

// Seldom-ready descriptors are watched by one thread, off the event loop, yet report to
// their notifier as a socket notifier does: level-triggered, on its own thread, switchable.
class QuietReadNotifierTest : public QObject {
    Q_OBJECT

    struct Pipe {
        int fd[2] = {-1, -1};
        Pipe() { QVERIFY(::pipe2(fd, O_CLOEXEC | O_NONBLOCK) == 0); }
        ~Pipe() {
            ::close(fd[0]);
            ::close(fd[1]);
        }
        void put(const char* bytes) { QVERIFY(::write(fd[1], bytes, strlen(bytes)) > 0); }
        QByteArray take(int most) {
            QByteArray in(most, '\0');
            const ssize_t n = ::read(fd[0], in.data(), size_t(most));
            return n > 0 ? in.left(n) : QByteArray();
        }
    };

    static int threads() {
        return int(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    }

private Q_SLOTS:
    // Data left unread is reported again on the next pass; none is reported while the
    // notifier is off, and what came meanwhile is reported once it is on again.
    void reportsAsLongAsReadyAndOnlyWhenOn() {
        Pipe pipe;
        QuietReadNotifier notifier(pipe.fd[0]);
        QVERIFY(notifier.isValid());
        QByteArray read;
        connect(&notifier, &QuietReadNotifier::activated, this, [&] { read += pipe.take(1); });
        QSignalSpy spy(&notifier, &QuietReadNotifier::activated);

        QTest::qWait(20);
        QCOMPARE(spy.count(), 0);
        pipe.put("abc");
        QTRY_COMPARE(read, QByteArray("abc")); // one byte a report
        QTest::qWait(20);
        QCOMPARE(spy.count(), 3);

        notifier.setEnabled(false);
        pipe.put("d");
        QTest::qWait(50);
        QCOMPARE(read, QByteArray("abc"));
        notifier.setEnabled(true);
        QTRY_COMPARE(read, QByteArray("abcd"));
    }

    // A handler may delete its notifier; reports already on their way go with it.
    void aHandlerMayDeleteItsNotifier() {
        Pipe pipe;
        auto* notifier = new QuietReadNotifier(pipe.fd[0]);
        QPointer<QuietReadNotifier> alive(notifier);
        int reports = 0;
        connect(notifier, &QuietReadNotifier::activated, this, [&] {
            ++reports;
            delete notifier;
        });
        pipe.put("x");
        QTRY_VERIFY(!alive);
        QTest::qWait(50);
        QCOMPARE(reports, 1);
    }

    // All notifiers share one thread, which ends with the last of them.
    void oneThreadForAllWhileAnyIsLeft() {
        const int before = threads();
        Pipe a, b, c;
        {
            QuietReadNotifier first(a.fd[0]);
            QuietReadNotifier second(b.fd[0]);
            QCOMPARE(threads(), before + 1);
            {
                QuietReadNotifier third(c.fd[0]);
                QCOMPARE(threads(), before + 1);
                QByteArray read;
                connect(&third, &QuietReadNotifier::activated, this, [&] { read += c.take(1); });
                c.put("x");
                QTRY_COMPARE(read, QByteArray("x"));
            }
            QByteArray read;
            connect(&first, &QuietReadNotifier::activated, this, [&] { read += a.take(1); });
            a.put("x");
            QTRY_COMPARE(read, QByteArray("x"));
        }
        QTRY_COMPARE(threads(), before);
    }
};

QTEST_GUILESS_MAIN(QuietReadNotifierTest)
#include "tst_quietreadnotifier.moc"
