// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/Settings.h"
#include "mail/MailPassword.h"
#include "mock/FakeDesktop.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The mail password between the data file and the keyring.
class TestMailPassword : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data;
    std::unique_ptr<FakeSecretStore> m_store;
    FakeSecretStore& keyring() { return *m_store; }

    Settings stored() const { return SettingsStore(m_data).load().value(); }
    void setPassword(const QString& password) {
        QVERIFY(SettingsStore(m_data).update([&](Settings& s) { s.mailPassword = password; }));
    }
    // The password a check would use: nullopt and why, or the password.
    std::pair<std::optional<QString>, QString> fetch(MailPassword& keeper) {
        std::optional<std::pair<std::optional<QString>, QString>> got;
        keeper.fetch(this, [&](std::optional<QString> p, const QString& why) { got = {p, why}; });
        // Never answered from within the call.
        const bool later = !got;
        QTest::qWaitFor([&] { return got.has_value(); });
        if (!later || !got)
            return {QStringLiteral("<answered at once or never>"), {}};
        return *got;
    }

private Q_SLOTS:
    void init() {
        m_data = m_dir.filePath(QStringLiteral("data.plm"));
        QFile::remove(m_data);
        QCOMPARE(programSchema().createTemplate(m_data, QDate(2026, 1, 1)), QString());
        m_store = std::make_unique<FakeSecretStore>();
    }

    // Moved once the keyring confirms; the check then reads the keyring, and only then.
    void movesToTheKeyringAndIsReadBackForACheck() {
        setPassword(QStringLiteral("secret"));
        SettingsStore settings(m_data);
        MailPassword keeper(settings, keyring());
        QSignalSpy ended(&keeper, &MailPassword::moveEnded);
        keeper.moveToKeyring();
        keeper.moveToKeyring(); // one write in flight at a time
        QCOMPARE(stored().mailPassword, QStringLiteral("secret"));
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toBool(), true);
        QCOMPARE(keyring().writes, 1);
        QCOMPARE(keyring().secrets.value(QStringLiteral("mail")), QStringLiteral("secret"));
        QCOMPARE(stored().mailPassword, QString());
        QVERIFY(stored().mailPasswordInKeyring);
        QCOMPARE(keyring().reads, 0);

        QCOMPARE(fetch(keeper).first, std::optional(QStringLiteral("secret")));
        QCOMPARE(keyring().reads, 1);
        // Nothing left in the column: nothing more to move.
        keeper.moveToKeyring();
        QCOMPARE(keyring().writes, 1);
    }

    // Without a keyring the password stays in the file and is used from there.
    void withoutAKeyringItStaysInTheDataFile() {
        keyring().available = false;
        setPassword(QStringLiteral("secret"));
        SettingsStore settings(m_data);
        MailPassword keeper(settings, keyring());
        QSignalSpy ended(&keeper, &MailPassword::moveEnded);
        keeper.moveToKeyring();
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toBool(), false);
        QCOMPARE(stored().mailPassword, QStringLiteral("secret"));
        QVERIFY(!stored().mailPasswordInKeyring);
        QCOMPARE(fetch(keeper).first, std::optional(QStringLiteral("secret")));
        QCOMPARE(keyring().reads, 0);
    }

    // A password typed while the keyring was writing the old one is not blanked.
    void aPasswordTypedMeanwhileStays() {
        setPassword(QStringLiteral("old"));
        SettingsStore settings(m_data);
        MailPassword keeper(settings, keyring());
        QSignalSpy ended(&keeper, &MailPassword::moveEnded);
        keeper.moveToKeyring();
        setPassword(QStringLiteral("new"));
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(stored().mailPassword, QStringLiteral("new"));
        // The column's password wins over what the keyring holds.
        QCOMPARE(fetch(keeper).first, std::optional(QStringLiteral("new")));
        keeper.moveToKeyring();
        QTRY_COMPARE(ended.count(), 2);
        QCOMPARE(keyring().secrets.value(QStringLiteral("mail")), QStringLiteral("new"));
        QCOMPARE(stored().mailPassword, QString());
    }

    // Marked as in the keyring, but the keyring has none or is gone.
    void aKeyringThatCannotAnswer() {
        QVERIFY(SettingsStore(m_data).update([](Settings& s) { s.mailPasswordInKeyring = true; }));
        SettingsStore settings(m_data);
        MailPassword keeper(settings, keyring());
        auto [password, why] = fetch(keeper);
        QVERIFY(!password);
        QVERIFY(why.isEmpty()); // the user types it again
        keyring().available = false;
        std::tie(password, why) = fetch(keeper);
        QVERIFY(!password);
        QVERIFY(!why.isEmpty());
    }

    // No password anywhere, or an empty one in the keyring: none to check with, so that a
    // check never logs in with an empty one; the user is to type it.
    void noPasswordIsNeverAnEmptyOne() {
        SettingsStore settings(m_data);
        MailPassword keeper(settings, keyring());
        auto [password, why] = fetch(keeper);
        QVERIFY(!password);
        QVERIFY(why.isEmpty());
        QVERIFY(SettingsStore(m_data).update([](Settings& s) { s.mailPasswordInKeyring = true; }));
        keyring().secrets.insert(QStringLiteral("mail"), QString());
        std::tie(password, why) = fetch(keeper);
        QVERIFY(!password);
        QVERIFY(why.isEmpty());
    }

    // A typed password goes to the keyring at once and never into the file while the
    // keyring answers; without one it is kept in the file; empty forgets it in both.
    void aTypedPasswordGoesToTheKeyringAtOnce() {
        setPassword(QStringLiteral("old")); // left there when no keyring ran
        SettingsStore settings(m_data);
        MailPassword keeper(settings, keyring());
        const auto store = [&](const QString& typed) {
            std::optional<MailPassword::Place> place;
            keeper.store(typed, this, [&](MailPassword::Place p) { place = p; });
            // The file is not touched before the keyring has answered.
            if (!typed.isEmpty())
                [&] { QCOMPARE(stored().mailPassword, QStringLiteral("old")); }();
            (void)QTest::qWaitFor([&] { return place.has_value(); });
            return place.value_or(MailPassword::Place::Unsaved);
        };
        QCOMPARE(store(QStringLiteral("typed")), MailPassword::Place::Keyring);
        QCOMPARE(keyring().secrets.value(QStringLiteral("mail")), QStringLiteral("typed"));
        QCOMPARE(stored().mailPassword, QString());
        QVERIFY(stored().mailPasswordInKeyring);
        QCOMPARE(fetch(keeper).first, std::optional(QStringLiteral("typed")));

        // Two typed quickly: the last one counts, answered once.
        int answers = 0;
        keeper.store(QStringLiteral("first"), this, [&](MailPassword::Place) { ++answers; });
        keeper.store(QStringLiteral("second"), this, [&](MailPassword::Place) { ++answers; });
        QTRY_COMPARE(answers, 1);
        QTest::qWait(10);
        QCOMPARE(answers, 1);
        QCOMPARE(keyring().secrets.value(QStringLiteral("mail")), QStringLiteral("second"));

        setPassword(QStringLiteral("old"));
        keyring().available = false;
        QCOMPARE(store(QStringLiteral("typed")), MailPassword::Place::DataFile);
        QCOMPARE(stored().mailPassword, QStringLiteral("typed"));
        QVERIFY(!stored().mailPasswordInKeyring);

        keyring().available = true;
        QCOMPARE(store(QString()), MailPassword::Place::None);
        QCOMPARE(stored().mailPassword, QString());
        QVERIFY(!stored().mailPasswordInKeyring);
        QVERIFY(!keyring().secrets.contains(QStringLiteral("mail")));
    }
};

QTEST_GUILESS_MAIN(TestMailPassword)
#include "tst_mailpassword.moc"
