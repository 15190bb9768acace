// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/OnlineMailSignIn.h"
#include "mock/FakeDesktop.h"

#include <QTest>

namespace {

OnlineMailAccount outlook(bool oauth2 = true) {
    OnlineMailAccount a;
    a.id = QStringLiteral("account_1");
    a.emailAddress = QStringLiteral("ann@example.org");
    a.imapHost = QStringLiteral("imap.example.org");
    a.imapUser = QStringLiteral("ann@example.org");
    a.imapUseSsl = true;
    a.oauth2 = oauth2;
    return a;
}

struct Result {
    std::optional<OnlineMailSignIn::Credentials> credentials;
    QString failure;
    int answers = 0;
};

OnlineMailSignIn::Ready into(Result& r) {
    return [&r](std::optional<OnlineMailSignIn::Credentials> c, const QString& failure) {
        r.credentials = std::move(c);
        r.failure = failure;
        ++r.answers;
    };
}

} // namespace

class TestOnlineMailSignIn : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void accountFromTheService() {
        const std::optional<MailAccount> a = OnlineMailSignIn::toMailAccount(outlook());
        QVERIFY(a);
        QCOMPARE(a->server, QStringLiteral("imap.example.org"));
        QCOMPARE(a->type, QStringLiteral("imap"));
        QCOMPARE(a->security, MailSecurity::Tls);
        OnlineMailAccount local = outlook();
        local.imapHost = QStringLiteral("127.0.0.1:1143");
        local.imapUseSsl = false;
        local.imapUseTls = true;
        const std::optional<MailAccount> l = OnlineMailSignIn::toMailAccount(local);
        QCOMPARE(l->server, QStringLiteral("127.0.0.1"));
        QCOMPARE(l->port, 1143);
        QCOMPARE(l->security, MailSecurity::StartTls);
        // Line breaks or NUL from the service end the check as typed ones do.
        for (const QString& bad :
             {QStringLiteral("imap.example.org\r\nx"), QStringLiteral("a\0b")}) {
            OnlineMailAccount a = outlook();
            a.imapHost = bad;
            QString why;
            QVERIFY(!OnlineMailSignIn::toMailAccount(a, &why));
            QVERIFY(!why.isEmpty());
            a = outlook();
            a.imapUser = bad;
            QVERIFY(!OnlineMailSignIn::toMailAccount(a));
        }
    }

    // A refused token: EnsureCredentials, one fresh token, and no third try.
    void tokenRenewedOnce() {
        FakeOnlineAccounts goa;
        FakeRegistry registry;
        goa.running = true;
        goa.accounts = {outlook()};
        goa.tokens = {QStringLiteral("old"), QStringLiteral("new")};
        OnlineMailSignIn signIn(goa, registry);
        signIn.choose(QStringLiteral("account_1"));
        Result r;
        signIn.fetch(this, into(r));
        QVERIFY(r.credentials);
        QCOMPARE(r.credentials->secret, QStringLiteral("old"));
        QVERIFY(r.credentials->isToken);
        QVERIFY(signIn.renew(this, into(r)));
        QCOMPARE(r.credentials->secret, QStringLiteral("new"));
        QVERIFY(!signIn.renew(this, into(r)));
        QCOMPARE(goa.calls, (QStringList{"GetAccessToken account_1", "EnsureCredentials account_1",
                                         "GetAccessToken account_1"}));
        // The next check may renew again.
        signIn.fetch(this, into(r));
        QVERIFY(!r.credentials); // no tokens left: the service's error is told
        QVERIFY(r.failure.contains(QStringLiteral("no token")));
        // Nothing secret reaches the registry file.
        for (const QString& v : registry.values)
            QVERIFY(!v.contains(QStringLiteral("old")) && !v.contains(QStringLiteral("new")));
    }

    void failuresAndPasswordAccounts() {
        FakeOnlineAccounts goa;
        FakeRegistry registry;
        OnlineMailSignIn signIn(goa, registry);
        signIn.choose(QStringLiteral("account_1"));
        Result r;
        signIn.fetch(this, into(r));
        QCOMPARE(r.failure, QStringLiteral("GNOME Online Accounts is not available"));

        goa.running = true;
        goa.accounts = {outlook(false)};
        goa.password = QStringLiteral("secret");
        signIn.fetch(this, into(r));
        QCOMPARE(r.credentials->secret, QStringLiteral("secret"));
        QVERIFY(!r.credentials->isToken);
        QVERIFY(!signIn.renew(this, into(r))); // a password is not renewed
        QCOMPARE(goa.calls.last(), QStringLiteral("GetPassword account_1"));

        // An empty token is not handed on.
        goa.accounts = {outlook()};
        goa.tokens = {QString()};
        signIn.fetch(this, into(r));
        QVERIFY(!r.credentials);
        QVERIFY(r.failure.contains(QStringLiteral("empty")));

        // Renewal refused: told, no token asked.
        goa.tokens = {QStringLiteral("t")};
        goa.ensureError = QStringLiteral("sign-in needed");
        signIn.fetch(this, into(r));
        const qsizetype calls = goa.calls.size();
        QVERIFY(signIn.renew(this, into(r)));
        QVERIFY(r.failure.contains(QStringLiteral("sign-in needed")));
        QCOMPARE(goa.calls.size(), calls + 1);
    }

    // A removed account (or one whose mail was switched off) is told once; then the watch
    // is still until another account is chosen.
    void goneAccountToldOnce() {
        FakeOnlineAccounts goa;
        FakeRegistry registry;
        goa.running = true;
        OnlineMailSignIn signIn(goa, registry);
        signIn.choose(QStringLiteral("account_1"));
        Result r;
        // A listing without an answer is no proof the account is gone.
        goa.listFails = true;
        signIn.fetch(this, into(r));
        QVERIFY(r.failure.contains(QStringLiteral("did not list")));
        goa.listFails = false;
        signIn.fetch(this, into(r));
        QVERIFY(r.failure.contains(QStringLiteral("removed")));
        const QString told = r.failure;
        signIn.fetch(this, into(r));
        QCOMPARE(r.answers, 3);
        QVERIFY(!r.credentials);
        QCOMPARE(r.failure, told);
        goa.accounts = {outlook()};
        goa.tokens = {QStringLiteral("t")};
        signIn.fetch(this, into(r));
        QVERIFY(!r.credentials); // still stopped: the user has not chosen again
        signIn.choose(QStringLiteral("account_1"));
        signIn.fetch(this, into(r));
        QVERIFY(r.credentials);
        QVERIFY(goa.calls.size() == 1);
    }
};

QTEST_GUILESS_MAIN(TestOnlineMailSignIn)
#include "tst_onlinemailsignin.moc"
