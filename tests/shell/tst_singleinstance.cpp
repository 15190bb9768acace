// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RemoteCommand.h"
#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <future>

using Outcome = SingleInstance::Outcome;

namespace {

QByteArray lockText(qint64 pid) {
    return QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n';
}

qint64 deadPid() {
    QProcess dead;
    dead.start(QStringLiteral("true"));
    dead.waitForStarted();
    const qint64 pid = dead.processId();
    dead.waitForFinished();
    return pid;
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime;

private Q_SLOTS:
    // A lock whose owner is not a running Plumora never keeps Plumora from starting.
    void locksWithoutALiveOwnerAreTakenOver_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty, as a kill before writing leaves it") << QByteArray();
        QTest::newRow("random bytes") << QByteArray("\x8f\x01\xff garbage\n\x00\x13", 14);
        QTest::newRow("a dead process") << lockText(deadPid());
        // Process 1 is alive, but it is not this program.
        QTest::newRow("another program's live process") << lockText(1);
    }
    void locksWithoutALiveOwnerAreTakenOver() {
        QFETCH(QByteArray, content);
        QTemporaryDir program;
        QFile lock(program.filePath(QStringLiteral("plumora.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(content);
        lock.close();

        SingleInstance next(program.path(), m_runtime.path());
        QCOMPARE(next.acquire(), Outcome::Acquired);
        QCOMPARE(next.lockPath(), lock.fileName());
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(lock.fileName()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
        // The new owner's id alone, whatever was longer or shorter before it.
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QCOMPARE(lock.readAll(), QByteArray::number(QCoreApplication::applicationPid()) + '\n');
    }

    // A pipe where the lock should be is never opened for good nor waited on: the lock
    // goes to the runtime folder.
    void aLockThatIsNoFileLocksInTheRuntimeFolder() {
        QTemporaryDir program;
        const QString pipe = program.filePath(QStringLiteral("plumora.lock"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        SingleInstance first(program.path(), m_runtime.path());
        QCOMPARE(first.acquire(), Outcome::Acquired);
        QVERIFY(first.lockPath().startsWith(m_runtime.path()));
    }

    void aLiveCopyKeepsItsLock() {
        QTemporaryDir program;
        SingleInstance first(program.path(), m_runtime.path());
        QCOMPARE(first.acquire(), Outcome::Acquired);
        SingleInstance second(program.path(), m_runtime.path());
        QCOMPARE(second.acquire(), Outcome::HeldByAnother);
    }

    // A program folder that takes no lock file (here: a path below a plain file) locks in
    // the runtime folder under the folder's own key, so two starts from it still meet.
    void aFolderWithoutRoomForALockLocksInTheRuntimeFolder() {
        QTemporaryDir base;
        QFile plain(base.filePath(QStringLiteral("file")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString program = plain.fileName() + QStringLiteral("/program");

        SingleInstance first(program, m_runtime.path());
        QCOMPARE(first.acquire(), Outcome::Acquired);
        QVERIFY(first.lockPath().startsWith(m_runtime.path()));
        SingleInstance second(program, m_runtime.path());
        QCOMPARE(second.acquire(), Outcome::HeldByAnother);
        // Another such folder is another key.
        SingleInstance other(program + QStringLiteral("2"), m_runtime.path());
        QCOMPARE(other.acquire(), Outcome::Acquired);
    }

    void aSecondStartAsksTheRunningCopyToShow() {
        QTemporaryDir program;
        SingleInstance first(program.path(), m_runtime.path());
        QCOMPARE(first.acquire(), Outcome::Acquired);
        int shown = 0;
        QVERIFY(first.listen([&] { ++shown; }));
        SingleInstance second(program.path(), m_runtime.path());
        QCOMPARE(second.acquire(), Outcome::HeldByAnother);
        QVERIFY(second.askRunningCopyToShow());
        QTRY_COMPARE(shown, 1);

        // Files to import reach the running copy's handler as absolute paths, whatever
        // characters their names hold; "show" is not asked for then.
        QStringList imported;
        first.setImportHandler([&](const QStringList& files, const SingleInstance::Answer& answer) {
            imported = files;
            answer(QString());
        });
        const QString odd = program.filePath(QStringLiteral("my cal\n%20 ü.ics"));
        QCOMPARE(askFromAnotherThread(second, {odd, program.filePath("b.ics")}).kind,
                 Answer::Imported);
        QCOMPARE(imported, (QStringList{odd, program.filePath("b.ics")}));
        QCOMPARE(shown, 1);
    }

    // The second start hears what became of its files once the running copy has imported
    // them: a refusal comes back as the handler's line. The handler may open a window with
    // an event loop of its own (the import's summary, a save failure) while the second
    // start gives up and its socket goes away: the running copy neither touches the gone
    // socket nor stops answering.
    void anImportIsAnsweredOnceItRan() {
        QTemporaryDir program;
        SingleInstance first(program.path(), m_runtime.path());
        QCOMPARE(first.acquire(), Outcome::Acquired);
        QVERIFY(first.listen({}));
        SingleInstance second(program.path(), m_runtime.path());
        QCOMPARE(second.acquire(), Outcome::HeldByAnother);

        // The import ends later, from the event loop, as one read on a worker thread does.
        first.setImportHandler([&](const QStringList&, const SingleInstance::Answer& answer) {
            QTimer::singleShot(0, &first, [answer] {
                answer(QStringLiteral("Nothing was imported from a.ics."));
            });
        });
        const Answer refused = askFromAnotherThread(second, {program.filePath("a.ics")});
        QCOMPARE(refused.kind, Answer::Refused);
        QCOMPARE(refused.reason, QStringLiteral("Nothing was imported from a.ics."));

        // Nobody listening: nothing was handed over.
        SingleInstance elsewhere(program.path() + QStringLiteral("/other"), m_runtime.path());
        QCOMPARE(elsewhere.askRunningCopyToImport({program.filePath("a.ics")}, 200).kind,
                 Answer::Unreachable);

        int imports = 0;
        first.setImportHandler([&](const QStringList&, const SingleInstance::Answer& answer) {
            ++imports;
            // As a modal window does: events, and deferred deletions, run under the handler.
            for (int i = 0; i < 50; ++i) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            answer(QString());
        });
        // An answer time of nothing: the start leaves as soon as the request is out.
        QCOMPARE(second.askRunningCopyToImport({program.filePath("a.ics")}, 1000, 0).kind,
                 Answer::Silent);
        QTRY_COMPARE(imports, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QCOMPARE(askFromAnotherThread(second, {program.filePath("b.ics")}).kind, Answer::Imported);
        QCOMPARE(imports, 2);
    }

    // An action goes over as one line and its answer comes back once the running copy
    // acted; a copy that does not answer in time is told apart from none at all.
    void aCommandIsAnsweredOnceTaken() {
        QTemporaryDir program;
        SingleInstance first(program.path(), m_runtime.path());
        QCOMPARE(first.acquire(), Outcome::Acquired);
        QVERIFY(first.listen({}));
        SingleInstance second(program.path(), m_runtime.path());
        QCOMPARE(second.acquire(), Outcome::HeldByAnother);
        QList<RemoteCommand> taken;
        first.setCommandHandler([&](const QByteArray& line, const SingleInstance::Reply& reply) {
            taken << RemoteCommand::decode(line).value_or(RemoteCommand{});
            reply(RemoteCommand::encodeAnswer(QStringLiteral("refused for the test")));
        });
        const RemoteCommand note{"new-note", QString(RemoteCommand::MaxNoteBytes, u'n')};
        const SingleInstance::CommandReply reply = commandFromAnotherThread(second, note, 5000);
        QVERIFY(reply.reached);
        QCOMPARE(RemoteCommand::decodeAnswer(reply.answer)->refusal,
                 QStringLiteral("refused for the test"));
        QCOMPARE(taken, QList<RemoteCommand>{note});

        // An answer later than the start waits: reached, but nothing heard.
        first.setCommandHandler([&](const QByteArray&, const SingleInstance::Reply& later) {
            QTimer::singleShot(500, &first, [later] { later(RemoteCommand::encodeAnswer({})); });
        });
        const SingleInstance::CommandReply late =
            commandFromAnotherThread(second, {"capture", {}}, 100);
        QVERIFY(late.reached);
        QVERIFY(late.answer.isEmpty());

        SingleInstance elsewhere(program.path() + QStringLiteral("/other"), m_runtime.path());
        QVERIFY(!elsewhere.askRunningCopy(RemoteCommand{"capture", {}}.encode(), 200).reached);
    }

    // A start that leaves before its answer costs the running copy nothing: the answer to
    // the closed connection is dropped (no broken-pipe signal ends the program), and the
    // next start is answered as usual.
    void anAnswerToAStartThatLeftIsDropped() {
        QTemporaryDir program;
        QTemporaryDir runtime;
        SingleInstance first(program.path(), runtime.path());
        QCOMPARE(first.acquire(), Outcome::Acquired);
        QVERIFY(first.listen({}));
        QList<SingleInstance::Reply> pending;
        first.setCommandHandler(
            [&](const QByteArray&, const SingleInstance::Reply& reply) { pending << reply; });
        const QStringList sockets =
            QDir(runtime.path()).entryList({QStringLiteral("*.socket")}, QDir::System);
        QCOMPARE(sockets.size(), 1);
        QLocalSocket leaving;
        leaving.connectToServer(runtime.filePath(sockets.first()));
        QVERIFY(leaving.waitForConnected(1000));
        leaving.write(RemoteCommand{"capture", {}}.encode());
        QTRY_COMPARE(pending.size(), 1);
        // As in the program, where no socket library has set the signal aside.
        std::signal(SIGPIPE, SIG_DFL);
        leaving.abort();
        // A long answer, more than the socket takes at once, to the closed connection.
        pending.takeFirst()(RemoteCommand::encodeAnswer(QString(200000, u'x')));
        QCoreApplication::processEvents();

        first.setCommandHandler([&](const QByteArray&, const SingleInstance::Reply& reply) {
            reply(RemoteCommand::encodeAnswer({}));
        });
        SingleInstance second(program.path(), runtime.path());
        const SingleInstance::CommandReply next =
            commandFromAnotherThread(second, {"capture", {}}, 5000);
        QVERIFY(next.reached);
        QCOMPARE(next.answer, QByteArray("done\n"));
    }

    // A thousand requests at once are each taken exactly once and answered, and a line that
    // never ends is dropped rather than kept growing.
    void aBurstOfCommandsIsTakenOnceEach() {
        QTemporaryDir program;
        QTemporaryDir runtime;
        SingleInstance first(program.path(), runtime.path());
        QCOMPARE(first.acquire(), Outcome::Acquired);
        QVERIFY(first.listen({}));
        QMap<QString, int> taken;
        first.setCommandHandler([&](const QByteArray& line, const SingleInstance::Reply& reply) {
            ++taken[RemoteCommand::decode(line).value_or(RemoteCommand{}).argument];
            reply(RemoteCommand::encodeAnswer({}));
        });
        const QStringList sockets =
            QDir(runtime.path()).entryList({QStringLiteral("*.socket")}, QDir::System);
        QCOMPARE(sockets.size(), 1);
        const QString name = runtime.filePath(sockets.first());

        auto* endless = new QLocalSocket(this);
        endless->connectToServer(name);
        QVERIFY(endless->waitForConnected(1000));
        endless->write("do new-note " + QByteArray(RemoteCommand::MaxLine + 10, 'A'));
        QTRY_COMPARE(endless->state(), QLocalSocket::UnconnectedState);

        constexpr int Burst = 1000;
        std::vector<std::unique_ptr<QLocalSocket>> peers;
        for (int i = 0; i < Burst; ++i) {
            peers.push_back(std::make_unique<QLocalSocket>());
            QLocalSocket* peer = peers.back().get();
            // More than the listen backlog at once: a peer writes once it got in.
            connect(peer, &QLocalSocket::connected, peer, [peer, i] {
                peer->write(RemoteCommand{"new-note", QString::number(i)}.encode());
            });
            peer->connectToServer(name);
        }
        const auto answered = [&] {
            int count = 0;
            for (const auto& peer : peers)
                count += peer->canReadLine() ? 1 : 0;
            return count;
        };
        QTRY_COMPARE_WITH_TIMEOUT(answered(), Burst, 30000);
        QCOMPARE(taken.size(), Burst);
        for (auto it = taken.cbegin(); it != taken.cend(); ++it)
            QCOMPARE(it.value(), 1);
        for (const auto& peer : peers)
            QCOMPARE(peer->readAll(), QByteArray("done\n"));
        delete endless;
    }

private:
    using Answer = SingleInstance::ImportAnswer;

    static SingleInstance::CommandReply commandFromAnotherThread(const SingleInstance& second,
                                                                 const RemoteCommand& command,
                                                                 int timeoutMs) {
        auto asked = std::async(std::launch::async,
                                [&] { return second.askRunningCopy(command.encode(), timeoutMs); });
        while (asked.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return asked.get();
    }

    // The second start waits for its answer, which the running copy gives from its event
    // loop: in a test both are one process, so the start asks from a thread of its own.
    static Answer askFromAnotherThread(const SingleInstance& second, const QStringList& files) {
        auto asked = std::async(std::launch::async,
                                [&] { return second.askRunningCopyToImport(files, 3000, 10000); });
        while (asked.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return asked.get();
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
