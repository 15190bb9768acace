// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailCheckState.h"

#include <QSignalSpy>
#include <QTest>

using Origin = MailCheckState::Origin;

// The words of the mail notice, the check's result line for Options, and the rule that
// tells a background failure once per streak.
class TestMailCheckState : public QObject {
    Q_OBJECT

    const QDateTime m_at{QDate(2026, 12, 8), QTime(10, 42)};

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void noticeWords_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("imap");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("found");
        QTest::newRow("IMAP, one") << 1 << true << "unread message"
                                   << "1 unread message"
                                   << "1 unread message";
        QTest::newRow("IMAP, two") << 2 << true << "unread messages"
                                   << "2 unread messages"
                                   << "2 unread messages";
        QTest::newRow("POP3, one") << 1 << false << "new e-mail"
                                   << "1 message waiting"
                                   << "1 new message";
        QTest::newRow("POP3, three") << 3 << false << "new e-mail"
                                     << "3 messages waiting"
                                     << "3 new messages";
        QTest::newRow("none") << 0 << true << "unread messages"
                              << "0 unread messages"
                              << "no new mail";
    }
    void noticeWords() {
        QFETCH(int, count);
        QFETCH(bool, imap);
        QFETCH(QString, what);
        QFETCH(QString, spoken);
        QFETCH(QString, found);
        QCOMPARE(MailTexts::noticeWhat(count, imap), what);
        QCOMPARE(MailTexts::noticeSpoken(count, imap), spoken);
        QCOMPARE(MailTexts::found(count, imap), found);
        for (const QString& text : {what, spoken, found})
            QVERIFY2(!text.contains(QLatin1String("  ")), qPrintable(text));
    }

    void resultLine() {
        MailCheckState state;
        QSignalSpy changed(&state, &MailCheckState::changed);
        QCOMPARE(state.line(), QString());
        state.recordFailure(m_at,
                            MailTexts::notConnected(QStringLiteral("mail.example.org"), 993,
                                                    QStringLiteral("connection refused")),
                            Origin::Background);
        QCOMPARE(state.line(), QStringLiteral("Last check 10:42: could not connect to "
                                              "mail.example.org:993 (connection refused)"));
        QVERIFY(state.failing());
        state.recordSuccess(m_at.addSecs(120), 2, true);
        QCOMPARE(state.line(), QStringLiteral("Last check 10:44: 2 unread messages"));
        QVERIFY(!state.failing());
        QCOMPARE(changed.count(), 2);
    }

    // Told at the first failure of a streak; the same failure again is not told; another
    // failure, or the same after a check got through, is. What the user saw after "Check
    // now" in Options is not told again as a notice.
    void oneNoticePerStreak() {
        MailCheckState state;
        const QString refused = QStringLiteral("could not connect (connection refused)");
        const QString password = QStringLiteral("the server refused the password");
        QVERIFY(state.recordFailure(m_at, refused, Origin::Background));
        QVERIFY(!state.recordFailure(m_at, refused, Origin::Background));
        QVERIFY(!state.recordFailure(m_at, refused, Origin::Background));
        QVERIFY(state.recordFailure(m_at, password, Origin::Background));
        QVERIFY(!state.recordFailure(m_at, password, Origin::Background));
        state.recordSuccess(m_at, 0, false);
        QVERIFY(state.recordFailure(m_at, password, Origin::Background));

        state.recordSuccess(m_at, 0, false);
        QVERIFY(!state.recordFailure(m_at, refused, Origin::User));
        QVERIFY(!state.recordFailure(m_at, refused, Origin::Background));
    }
};

QTEST_GUILESS_MAIN(TestMailCheckState)
#include "tst_mailcheckstate.moc"
