// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CommandLine.h"
#include "shell/RemoteCommand.h"

#include <QTest>

namespace {
const QStringList Tools{QStringLiteral("calendar"), QStringLiteral("notes"),
                        QStringLiteral("options")};

CommandLine::Request parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("plumora"));
    return CommandLine::read(arguments);
}
} // namespace

// The command line's actions and their lines on the one-copy socket.
class TestRemoteCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theCommandLineNamesOneAction() {
        QCOMPARE(parse({"--capture"}).command, (RemoteCommand{"capture", {}}));
        QCOMPARE(parse({"--new-note"}).command, (RemoteCommand{"new-note", {}}));
        QCOMPARE(parse({"--new-note", "Buy", "milk"}).command,
                 (RemoteCommand{"new-note", "Buy milk"}));
        QCOMPARE(parse({"--show", "notes"}).command, (RemoteCommand{"show", "notes"}));
        QCOMPARE(parse({"--show=quick-access"}).command, (RemoteCommand{"show", "quick-access"}));
        const CommandLine::Request import = parse({"--import", "a.ics", "b.ics"});
        QVERIFY(!import.command);
        QCOMPARE(import.importFiles, (QStringList{"a.ics", "b.ics"}));
        QVERIFY(parse({}).error.isEmpty());
        QVERIFY(!parse({}).command);

        // What cannot be done as given is said, not guessed at.
        QVERIFY(!parse({"--capture", "--new-note"}).error.isEmpty());
        QVERIFY(!parse({"--show", "notes", "--import", "a.ics"}).error.isEmpty());
        QVERIFY(parse({"--capture", "stray"}).error.contains("stray"));
        QVERIFY(!parse({"--show"}).error.isEmpty()); // no id
        QVERIFY(!parse({"--shove"}).error.isEmpty());
    }

    // Any text goes over as one line and comes back the same; a damaged line is no command.
    void requestsRoundTrip() {
        const QString odd = QStringLiteral("line one\nline two\r\n\ttab ü € 😀 %20 do show x\n");
        for (const RemoteCommand& command :
             {RemoteCommand{"new-note", odd}, RemoteCommand{"capture", {}},
              RemoteCommand{"show", "quick-access"},
              RemoteCommand{"new-note", QString(RemoteCommand::MaxNoteBytes, u'x')}}) {
            const QByteArray line = command.encode();
            QCOMPARE(line.count('\n'), 1);
            QVERIFY(line.endsWith('\n'));
            QVERIFY(line.size() <= RemoteCommand::MaxLine);
            QVERIFY(RemoteCommand::isRequest(line));
            QCOMPARE(RemoteCommand::decode(line), command);
        }
        for (const QByteArray& damaged : QList<QByteArray>{
                 QByteArray("do new-note SGVsbG8=\n").chopped(1), QByteArray("do \n"),
                 QByteArray("do Show\n"), QByteArray("do new-note !!!notbase64\n"),
                 QByteArray("do ../../x\n"), QByteArray("show\n"),
                 QByteArray("do new-note ") + QByteArray(RemoteCommand::MaxLine, 'A') + "\n"})
            QVERIFY2(!RemoteCommand::decode(damaged), damaged.left(40).constData());
    }

    void answersRoundTrip() {
        QCOMPARE(RemoteCommand::decodeAnswer(RemoteCommand::encodeAnswer({}))->done, true);
        const auto refused = RemoteCommand::decodeAnswer(
            RemoteCommand::encodeAnswer(QStringLiteral("No such tool.\nTry another.")));
        QVERIFY(refused);
        QVERIFY(!refused->done);
        QCOMPARE(refused->refusal, QStringLiteral("No such tool. Try another."));
        QVERIFY(!RemoteCommand::decodeAnswer("imported\n"));
        QVERIFY(!RemoteCommand::decodeAnswer({}));
    }

    void refusals() {
        using C = RemoteCommand;
        const QString unknown = C{"show", "mail"}.refusal(Tools);
        QVERIFY(unknown.contains("\"mail\""));
        QVERIFY(unknown.contains("calendar, notes, options"));
        QVERIFY(C({"show", "notes"}).refusal(Tools).isEmpty());
        QVERIFY(!C({"show", "Notes"}).refusal(Tools).isEmpty());

        // The limit counts UTF-8 bytes: 64 KB of text is taken, a byte more is not.
        const QString full(RemoteCommand::MaxNoteBytes / 2, QChar(0xe9)); // two bytes each
        QVERIFY(C({"new-note", full}).refusal(Tools).isEmpty());
        QVERIFY(C({"new-note", full + u'x'}).refusal(Tools).contains("64 KB"));
        QVERIFY(C({"capture", {}}).refusal(Tools).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRemoteCommand)
#include "tst_remotecommand.moc"
