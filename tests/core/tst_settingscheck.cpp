#include "core/DataFile.h"
#include "core/Schema.h"
#include "core/SettingsCheck.h"
#include "core/SystemRow.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Pop3User = QStringLiteral("ann");
const QString Pop3Server = QStringLiteral("pop.example.org");

// A program folder holding just the template, as a fresh install does.
struct Install {
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};

    Install() { Schema::createTemplate(paths.templateFile(), QDate(2026, 1, 1)); }

    SettingsCheck::Result check(MailAccount account = {}) {
        return SettingsCheck(paths, [account] { return account; }).run();
    }
    QVariant stored(const QString& column) const {
        DataFile db(paths.dataFile());
        SystemRow row;
        return row.load(db) ? row.value(column) : QVariant();
    }
    void store(const QString& column, const QVariant& v) const {
        DataFile db(paths.dataFile());
        SystemRow row;
        QVERIFY(row.load(db));
        QVERIFY(row.set(db, column, v));
    }
    static void writeGarbage(const QString& path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, '\x5a'));
    }
};

} // namespace

class TestSettingsCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstRunCopiesTheTemplateReadableByTheUserOnly() {
        Install in;
        const auto result = in.check();
        QVERIFY(result.firstRun);
        QCOMPARE(result.failedSteps, 0);
        QVERIFY(QFileInfo::exists(in.paths.dataFile()));
        const auto perms = QFileInfo(in.paths.dataFile()).permissions();
        QVERIFY(perms.testFlags(QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!(perms &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));
        QCOMPARE(in.stored(QStringLiteral("NotifyAgo")).toInt(), 2);
        QVERIFY(!in.check().firstRun);
        QCOMPARE(in.stored(QStringLiteral("NotifyAgo")).toInt(), 2);
    }

    void checkSumIsNormalised_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("1 becomes -1") << 1 << -1;
        QTest::newRow("any positive becomes -1") << 7 << -1;
        QTest::newRow("0 stays") << 0 << 0;
        QTest::newRow("-1 stays") << -1 << -1;
    }
    void checkSumIsNormalised() {
        QFETCH(int, stored);
        QFETCH(int, expected);
        Install in;
        in.check();
        in.store(QStringLiteral("CheckSum"), stored);
        in.check();
        QCOMPARE(in.stored(QStringLiteral("CheckSum")).toInt(), expected);
    }

    void mailAccountFollowsTheMailProgram_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("passwordKept");
        QTest::newRow("same account keeps the password") << Pop3User << Pop3Server << true;
        QTest::newRow("changed server clears it")
            << Pop3User << QStringLiteral("pop.other.net") << false;
        QTest::newRow("changed user clears it") << QStringLiteral("bob") << Pop3Server << false;
        QTest::newRow("no account clears it") << QString() << QString() << false;
    }
    void mailAccountFollowsTheMailProgram() {
        QFETCH(QString, user);
        QFETCH(QString, server);
        QFETCH(bool, passwordKept);
        Install in;
        in.check({Pop3User, Pop3Server});
        in.store(QStringLiteral("MailPwd"), QStringLiteral("secret"));
        in.check({user, server});
        QCOMPARE(in.stored(QStringLiteral("MailUser")).toString(), user);
        QCOMPARE(in.stored(QStringLiteral("MailPOP3")).toString(), server);
        QCOMPARE(in.stored(QStringLiteral("MailPwd")).toString(),
                 passwordKept ? QStringLiteral("secret") : QString());
    }

    void aDamagedFileIsReplacedFromTempAndKept() {
        Install in;
        in.check();
        QVERIFY(QFile::copy(in.paths.dataFile(), in.paths.replacementFile()));
        Install::writeGarbage(in.paths.dataFile());

        const auto result = in.check();
        QVERIFY(result.recovered);
        QVERIFY(!QFileInfo::exists(in.paths.replacementFile()));
        QCOMPARE(in.stored(QStringLiteral("NotifyAgo")).toInt(), 2);
        const QString kept = in.paths.dataFile() + QStringLiteral(".damaged");
        QVERIFY(QFileInfo::exists(kept));
        QCOMPARE(QFileInfo(kept).size(), 8192);

        // A second damage keeps the first damaged copy as well.
        QVERIFY(QFile::copy(in.paths.dataFile(), in.paths.replacementFile()));
        Install::writeGarbage(in.paths.dataFile());
        QVERIFY(in.check().recovered);
        QVERIFY(QFileInfo::exists(kept));
        QVERIFY(QFileInfo::exists(in.paths.dataFile() + QStringLiteral(".damaged-2")));
    }

    void aDamagedFileWithoutTempIsLeftAlone() {
        Install in;
        Install::writeGarbage(in.paths.dataFile());
        const auto result = in.check();
        QVERIFY(!result.recovered);
        QVERIFY(result.failedSteps > 0);
        QFile f(in.paths.dataFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(8192, '\x5a'));
    }

    void aMissingTemplateLeavesNoDataFile() {
        QTemporaryDir dir;
        const AppPaths paths(dir.path(), dir.path());
        const auto result = SettingsCheck(paths, {}).run();
        QVERIFY(result.failedSteps > 0);
        QVERIFY(!result.firstRun);
        QVERIFY(!QFileInfo::exists(paths.dataFile()));
    }

    void aReadOnlyFolderIsSurvived() {
        if (geteuid() == 0)
            QSKIP("root ignores folder permissions");
        Install in;
        QFile::setPermissions(in.dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const auto result = in.check();
        QFile::setPermissions(in.dir.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(result.failedSteps > 0);
        QVERIFY(!QFileInfo::exists(in.paths.dataFile()));
    }
};

QTEST_GUILESS_MAIN(TestSettingsCheck)
#include "tst_settingscheck.moc"
