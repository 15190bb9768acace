// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "data/Migrations.h"
#include "data/Settings.h"
#include "mail/DefaultAccount.h"
#include "mail/MailAccountSync.h"
#include "mock/FakeDesktop.h"
#include "mock/Fifo.h"
#include "mock/OlderFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(MailAccount)

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

QByteArray prefs(const QByteArray& type,
                 const QByteArray& extra = "user_pref(\"mail.server.server3.port\", 995);\n"
                                           "user_pref(\"mail.server.server3.socketType\", 3);\n") {
    return "// Mozilla User Preferences\n"
           "user_pref(\"mail.accountmanager.accounts\", \"account1,account2\");\n"
           "user_pref(\"mail.accountmanager.defaultaccount\", \"account2\");\n"
           "user_pref(\"mail.account.account2.server\", \"server3\");\n"
           "user_pref(\"mail.server.server3.hostname\", \"pop.example.org\");\n"
           "user_pref(\"mail.server.server3.type\", \"" +
           type +
           "\");\n"
           "user_pref(\"mail.server.server3.userName\", \"ann \\\"the\\\" user\");\n" +
           extra;
}
} // namespace

class TestDefaultAccount : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void accounts_data() {
        QTest::addColumn<QByteArray>("profilesIni");
        QTest::addColumn<QString>("root"); // where profiles.ini lies under HOME
        QTest::addColumn<QString>("profileDir");
        QTest::addColumn<QByteArray>("prefsJs");
        QTest::addColumn<MailAccount>("expected");

        const QString user = QStringLiteral("ann \"the\" user");
        const QString host = QStringLiteral("pop.example.org");
        const QString tb = QStringLiteral(".thunderbird");
        const MailAccount none{{}, {}};
        const MailAccount pop{user, host, QStringLiteral("pop3"), 995, MailSecurity::Tls};
        QTest::newRow("POP3 default account on SSL/TLS")
            << Profiles << tb << "wxyz.default" << prefs("pop3") << pop;
        QTest::newRow("IMAP with STARTTLS on its usual port (no port pref)")
            << Profiles << tb << "wxyz.default"
            << prefs("imap", "user_pref(\"mail.server.server3.socketType\", 2);\n")
            << MailAccount{user, host, QStringLiteral("imap"), 143, MailSecurity::StartTls};
        QTest::newRow("IMAP on SSL/TLS without a port: 993")
            << Profiles << tb << "wxyz.default"
            << prefs("imap", "user_pref(\"mail.server.server3.socketType\", 3);\n")
            << MailAccount{user, host, QStringLiteral("imap"), 993, MailSecurity::Tls};
        QTest::newRow("POP3 with neither port nor socketType: 110, None")
            << Profiles << tb << "wxyz.default" << prefs("pop3", "")
            << MailAccount{user, host, QStringLiteral("pop3"), 110, MailSecurity::None};
        QTest::newRow("a port out of range falls back to the usual one")
            << Profiles << tb << "wxyz.default"
            << prefs("pop3", "user_pref(\"mail.server.server3.port\", 70000);\n")
            << MailAccount{user, host, QStringLiteral("pop3"), 110, MailSecurity::None};
        QTest::newRow("OAuth2 sign-in (authMethod 10): server and user kept, flagged")
            << Profiles << tb << "wxyz.default"
            << prefs("imap", "user_pref(\"mail.server.server3.socketType\", 3);\n"
                             "user_pref(\"mail.server.server3.authMethod\", 10);\n")
            << MailAccount{user, host, QStringLiteral("imap"), 993, MailSecurity::Tls, true};
        QTest::newRow("news account gives nothing")
            << Profiles << tb << "wxyz.default" << prefs("nntp") << none;
        QTest::newRow("Flatpak profile")
            << Profiles << ".var/app/org.mozilla.Thunderbird/.thunderbird"
            << "wxyz.default" << prefs("pop3") << pop;
        QTest::newRow("Snap profile") << Profiles << "snap/thunderbird/common/.thunderbird"
                                      << "wxyz.default" << prefs("pop3") << pop;
        QTest::newRow("install section names the profile")
            << QByteArray("[Install4F96D1932A9F858E]\nDefault=abcd.old\nLocked=1\n\n" + Profiles)
            << tb << "abcd.old" << prefs("pop3") << pop;
        QTest::newRow("no profiles.ini")
            << QByteArray() << tb << "wxyz.default" << prefs("pop3") << none;
        QTest::newRow("garbage prefs.js") << Profiles << tb << "wxyz.default"
                                          << QByteArray("\x00\xff{{user_pref(\"mail.", 20) << none;
        QTest::newRow("garbage profiles.ini")
            << QByteArray("\x01\x02[[[=\n\xfe") << tb << "wxyz.default" << prefs("pop3") << none;
        QTest::newRow("default account without a server")
            << Profiles << tb << "wxyz.default"
            << QByteArray("user_pref(\"mail.accountmanager.defaultaccount\", \"account9\");\n")
            << none;
    }
    void accounts() {
        QFETCH(QByteArray, profilesIni);
        QFETCH(QString, root);
        QFETCH(QString, profileDir);
        QFETCH(QByteArray, prefsJs);
        QFETCH(MailAccount, expected);

        QTemporaryDir home;
        if (!profilesIni.isEmpty())
            writeFile(home.filePath(root + QStringLiteral("/profiles.ini")), profilesIni);
        writeFile(home.filePath(root + u'/' + profileDir + QStringLiteral("/prefs.js")), prefsJs);
        const MailAccount found = readThunderbirdAccount(home.path());
        QCOMPARE(found.user, expected.user);
        QCOMPARE(found.server, expected.server);
        if (!expected.server.isEmpty()) {
            QCOMPARE(found.type, expected.type);
            QCOMPARE(found.port, expected.port);
            QCOMPARE(found.security, expected.security);
        }
    }

    // A leftover ~/.thunderbird beside the profile of the packaged Thunderbird the user runs:
    // the running one's profile wins; with the plain Thunderbird the default, ~/.thunderbird.
    void theThunderbirdTheUserRunsWins_data() {
        QTest::addColumn<QString>("desktopId");
        QTest::addColumn<QString>("server");
        QTest::newRow("Flatpak") << "org.mozilla.Thunderbird.desktop"
                                 << "flatpak.example.org";
        QTest::newRow("Snap") << "thunderbird_thunderbird.desktop"
                              << "snap.example.org";
        QTest::newRow("Debian's") << "thunderbird.desktop"
                                  << "old.example.org";
        QTest::newRow("unknown") << ""
                                 << "old.example.org";
    }
    void theThunderbirdTheUserRunsWins() {
        QFETCH(QString, desktopId);
        QFETCH(QString, server);
        QTemporaryDir home;
        const std::pair<const char*, QByteArray> roots[] = {
            {".thunderbird", "old.example.org"},
            {".var/app/org.mozilla.Thunderbird/.thunderbird", "flatpak.example.org"},
            {"snap/thunderbird/common/.thunderbird", "snap.example.org"}};
        for (const auto& [root, host] : roots) {
            const QString dir = home.filePath(QLatin1String(root));
            writeFile(dir + QStringLiteral("/profiles.ini"), Profiles);
            writeFile(dir + QStringLiteral("/wxyz.default/prefs.js"),
                      prefs("imap").replace("pop.example.org", host));
        }
        QCOMPARE(readThunderbirdAccount(home.path(), desktopId).server, server);
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

    // The start-up sync: a password is never kept for an account it was not typed for, and
    // an account the user typed is never lost to a mail program that has none.
    void startupSyncFollowsTheMailProgram_data() {
        QTest::addColumn<bool>("typedByUser"); // else discovered at the first start
        QTest::addColumn<bool>("readable");    // the mail program's settings can be read
        QTest::addColumn<MailAccount>("found");
        QTest::addColumn<MailAccount>("stored");
        QTest::addColumn<bool>("passwordKept");
        QTest::addColumn<bool>("discovered");
        const QString ann = QStringLiteral("ann");
        const QString host = QStringLiteral("pop.example.org");
        const MailAccount first{ann, host, QStringLiteral("pop3"), 995, MailSecurity::Tls};
        const MailAccount none{{}, {}};
        auto with = [&](auto change) {
            MailAccount a = first;
            change(a);
            return a;
        };
        QTest::newRow("same account keeps the password")
            << false << true << first << first << true << true;
        QTest::newRow("changed server clears it")
            << false << true << with([](auto& a) { a.server = "pop.other.net"; })
            << with([](auto& a) { a.server = "pop.other.net"; }) << false << true;
        QTest::newRow("changed user clears it")
            << false << true << with([](auto& a) { a.user = "bob"; })
            << with([](auto& a) { a.user = "bob"; }) << false << true;
        QTest::newRow("changed port clears it")
            << false << true << with([](auto& a) { a.port = 1995; })
            << with([](auto& a) { a.port = 1995; }) << false << true;
        QTest::newRow("changed type clears it")
            << false << true << with([](auto& a) { a.type = "imap"; })
            << with([](auto& a) { a.type = "imap"; }) << false << true;
        QTest::newRow("changed security alone keeps it")
            << false << true << with([](auto& a) { a.security = MailSecurity::StartTls; })
            << with([](auto& a) { a.security = MailSecurity::StartTls; }) << true << true;
        QTest::newRow("discovered account gone from the mail program clears it")
            << false << true << none << none << false << false;
        QTest::newRow("typed account, mail program without one: kept")
            << true << true << none << first << true << false;
        QTest::newRow("typed account, no supported mail program: kept")
            << true << false << none << first << true << false;
        QTest::newRow("discovered account, mail program no longer supported: kept, now editable")
            << false << false << none << first << true << false;
        QTest::newRow("typed account replaced by a different discovered one clears it")
            << true << true << with([](auto& a) { a.server = "imap.new.org"; })
            << with([](auto& a) { a.server = "imap.new.org"; }) << false << true;
    }
    void startupSyncFollowsTheMailProgram() {
        QFETCH(bool, typedByUser);
        QFETCH(bool, readable);
        QFETCH(MailAccount, found);
        QFETCH(MailAccount, stored);
        QFETCH(bool, passwordKept);
        QFETCH(bool, discovered);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data.plm"));
        QVERIFY(programSchema().createTemplate(data, QDate(2026, 1, 1)).isEmpty());
        FakeMailClient mail;
        mail.account = {QStringLiteral("ann"), QStringLiteral("pop.example.org"),
                        QStringLiteral("pop3"), 995, MailSecurity::Tls};
        if (typedByUser) {
            QVERIFY(SettingsStore(data).update([&](Settings& s) {
                s.mailUser = mail.account.user;
                s.mailServer = mail.account.server;
                s.mailPort = 995;
                s.mailSecurity = 3;
            }));
        } else {
            MailAccountSync(SettingsStore(data), mail).run();
        }
        QVERIFY(SettingsStore(data).update([](Settings& s) { s.mailPassword = "secret"; }));

        mail.account = found;
        mail.accountReadable = readable;
        MailAccountSync(SettingsStore(data), mail).run();
        const Settings s = SettingsStore(data).load().value();
        QCOMPARE(storedAccount(s), stored);
        QCOMPARE(s.mailPassword, passwordKept ? QStringLiteral("secret") : QString());
        QCOMPARE(s.mailDiscovered, discovered);
    }

    // A file from before ports were kept: its account counts as discovered (the server came
    // from nowhere else), and the mail program's port for it is no reason to forget the
    // password.
    void migratedAccountKeepsItsPassword() {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data.plm"));
        QVERIFY(programSchema().createTemplate(data, QDate(2026, 1, 1)).isEmpty());
        {
            DataFile db(data);
            QVERIFY(dropLaterColumns(db));
            QVERIFY(db.exec(QStringLiteral("UPDATE System SET MailUser = 'ann', MailPOP3 = "
                                           "'pop.example.org', MailPwd = 'secret'")));
            // Version 2: before the step that added the mail account's columns.
            QVERIFY(db.setUserVersion(2));
            QCOMPARE(Migrations::run(db, programSchema()), Migrations::Outcome::Migrated);
        }
        QVERIFY(SettingsStore(data).load().value().mailDiscovered);
        FakeMailClient mail;
        mail.account = {QStringLiteral("ann"), QStringLiteral("pop.example.org"),
                        QStringLiteral("pop3"), 995, MailSecurity::Tls};
        MailAccountSync(SettingsStore(data), mail).run();
        const Settings s = SettingsStore(data).load().value();
        QCOMPARE(s.mailPassword, QStringLiteral("secret"));
        QCOMPARE(s.mailPort, 995);
        QCOMPARE(s.mailSecurity, 3);
    }
};

QTEST_GUILESS_MAIN(TestDefaultAccount)
#include "tst_defaultaccount.moc"
