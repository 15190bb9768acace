#include "core/Schema.h"
#include "core/Settings.h"
#include "mail/DefaultAccount.h"
#include "mail/MailAccountSync.h"
#include "mock/FakeDesktop.h"
#include "mock/Fifo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
void writeFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

const QByteArray Profiles = "[General]\nStartWithLastProfile=1\n\n"
                            "[Profile1]\nName=old\nIsRelative=1\nPath=abcd.old\n\n"
                            "[Profile0]\nName=default\nIsRelative=1\nPath=wxyz.default\n"
                            "Default=1\n";

QByteArray prefs(const QByteArray& type) {
    return "// Mozilla User Preferences\n"
           "user_pref(\"mail.accountmanager.accounts\", \"account1,account2\");\n"
           "user_pref(\"mail.accountmanager.defaultaccount\", \"account2\");\n"
           "user_pref(\"mail.account.account2.server\", \"server3\");\n"
           "user_pref(\"mail.server.server3.hostname\", \"pop.example.org\");\n"
           "user_pref(\"mail.server.server3.type\", \"" +
           type +
           "\");\n"
           "user_pref(\"mail.server.server3.userName\", \"ann \\\"the\\\" user\");\n"
           "user_pref(\"mail.server.server3.port\", 995);\n";
}
} // namespace

class TestDefaultAccount : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void accounts_data() {
        QTest::addColumn<QByteArray>("profilesIni");
        QTest::addColumn<QString>("profileDir");
        QTest::addColumn<QByteArray>("prefsJs");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("server");

        const QString user = QStringLiteral("ann \"the\" user");
        const QString host = QStringLiteral("pop.example.org");
        QTest::newRow("POP3 default account")
            << Profiles << "wxyz.default" << prefs("pop3") << user << host;
        QTest::newRow("IMAP account gives nothing")
            << Profiles << "wxyz.default" << prefs("imap") << QString() << QString();
        QTest::newRow("install section names the profile")
            << QByteArray("[Install4F96D1932A9F858E]\nDefault=abcd.old\nLocked=1\n\n" + Profiles)
            << "abcd.old" << prefs("pop3") << user << host;
        QTest::newRow("no profiles.ini")
            << QByteArray() << "wxyz.default" << prefs("pop3") << QString() << QString();
        QTest::newRow("garbage prefs.js")
            << Profiles << "wxyz.default" << QByteArray("\x00\xff{{user_pref(\"mail.", 20)
            << QString() << QString();
        QTest::newRow("garbage profiles.ini") << QByteArray("\x01\x02[[[=\n\xfe") << "wxyz.default"
                                              << prefs("pop3") << QString() << QString();
        QTest::newRow("default account without a server")
            << Profiles << "wxyz.default"
            << QByteArray("user_pref(\"mail.accountmanager.defaultaccount\", \"account9\");\n")
            << QString() << QString();
    }
    void accounts() {
        QFETCH(QByteArray, profilesIni);
        QFETCH(QString, profileDir);
        QFETCH(QByteArray, prefsJs);
        QFETCH(QString, user);
        QFETCH(QString, server);

        QTemporaryDir home;
        if (!profilesIni.isEmpty())
            writeFile(home.filePath(QStringLiteral(".thunderbird/profiles.ini")), profilesIni);
        writeFile(home.filePath(QStringLiteral(".thunderbird/") + profileDir +
                                QStringLiteral("/prefs.js")),
                  prefsJs);
        const MailAccount found = readThunderbirdAccount(home.path());
        QCOMPARE(found.user, user);
        QCOMPARE(found.server, server);
    }

    // Either of Thunderbird's files made a named pipe: the account reads as none, at once.
    void aPipeInPlaceOfAFileDoesNotBlock_data() {
        QTest::addColumn<QString>("pipe");
        QTest::newRow("profiles.ini") << "profiles.ini";
        QTest::newRow("prefs.js") << "wxyz.default/prefs.js";
    }
    void aPipeInPlaceOfAFileDoesNotBlock() {
        QFETCH(QString, pipe);
        QTemporaryDir home;
        const QString root = home.filePath(QStringLiteral(".thunderbird/"));
        writeFile(root + QStringLiteral("profiles.ini"), Profiles);
        writeFile(root + QStringLiteral("wxyz.default/prefs.js"), prefs("pop3"));
        QVERIFY(QFile::remove(root + pipe));
        QVERIFY(Fifo::make(root + pipe));
        MailAccount found{QStringLiteral("x"), QStringLiteral("y")};
        QVERIFY(Fifo::finishesWithin([&] { found = readThunderbirdAccount(home.path()); },
                                     {root + pipe}));
        QCOMPARE(found, MailAccount{});
    }

    // The start-up sync: a password is never kept for an account it was not typed for.
    void startupSyncFollowsTheMailProgram_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("passwordKept");
        const QString ann = QStringLiteral("ann");
        const QString pop = QStringLiteral("pop.example.org");
        QTest::newRow("same account keeps the password") << ann << pop << true;
        QTest::newRow("changed server clears it")
            << ann << QStringLiteral("pop.other.net") << false;
        QTest::newRow("changed user clears it") << QStringLiteral("bob") << pop << false;
        QTest::newRow("no account clears it") << QString() << QString() << false;
    }
    void startupSyncFollowsTheMailProgram() {
        QFETCH(QString, user);
        QFETCH(QString, server);
        QFETCH(bool, passwordKept);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data.plm"));
        QVERIFY(Schema::createTemplate(data, QDate(2026, 1, 1)).isEmpty());
        FakeMailClient mail;
        mail.account = {QStringLiteral("ann"), QStringLiteral("pop.example.org")};
        MailAccountSync(data, mail).run();
        QVERIFY(SettingsStore(data).update([](Settings& s) { s.mailPassword = "secret"; }));

        mail.account = {user, server};
        MailAccountSync(data, mail).run();
        const Settings s = SettingsStore(data).load().value();
        QCOMPARE(s.mailUser, user);
        QCOMPARE(s.mailServer, server);
        QCOMPARE(s.mailPassword, passwordKept ? QStringLiteral("secret") : QString());
    }
};

QTEST_GUILESS_MAIN(TestDefaultAccount)
#include "tst_defaultaccount.moc"
