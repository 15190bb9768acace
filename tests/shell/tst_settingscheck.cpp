// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "data/SettingsCheck.h"
#include "mock/Unprivileged.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// A program folder holding just the template, as a fresh install does.
struct Install {
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};

    Install() { programSchema().createTemplate(paths.templateFile(), QDate(2026, 1, 1)); }

    SettingsCheck::Result check() { return SettingsCheck(paths, programSchema()).run(); }
    Settings stored() const { return SettingsStore(paths.dataFile()).load().value_or(Settings{}); }
    static void writeGarbage(const QString& path) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, '\x5a'));
    }
};

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

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
        QCOMPARE(in.stored().notifyAgo, 2);
        QVERIFY(!in.check().firstRun);
        QCOMPARE(in.stored().notifyAgo, 2);
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
        QVERIFY(
            SettingsStore(in.paths.dataFile()).update([&](Settings& s) { s.smallIcons = stored; }));
        in.check();
        QCOMPARE(in.stored().smallIcons, expected);
    }

    void aDamagedFileIsReplacedFromTempAndKept() {
        Install in;
        in.check();
        QVERIFY(QFile::copy(in.paths.dataFile(), in.paths.replacementFile()));
        Install::writeGarbage(in.paths.dataFile());

        const auto result = in.check();
        QVERIFY(result.recovered);
        QVERIFY(!QFileInfo::exists(in.paths.replacementFile()));
        QCOMPARE(in.stored().notifyAgo, 2);
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
        QVERIFY(!result.unreadable.isEmpty());
        QFile f(in.paths.dataFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(8192, '\x5a'));
        QVERIFY(in.check().unreadable.size() > 0); // and so at every start, until mended
    }

    // A copy restored by hand keeps its loose mode; the next start closes it to the owner.
    void aLooseDataFileIsMadeOwnerOnly() {
        Install in;
        QVERIFY(in.check().unreadable.isEmpty());
        const QString journal = in.paths.dataFile() + QStringLiteral("-journal");
        QFile(journal).open(QIODevice::WriteOnly);
        const auto loose = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                           QFile::ReadOther | QFile::WriteOther;
        for (const QString& file : QStringList{in.paths.dataFile(), journal})
            QVERIFY(QFile::setPermissions(file, loose));
        in.check();
        for (const QString& file : QStringList{in.paths.dataFile(), journal}) {
            const auto perms = QFileInfo(file).permissions();
            QVERIFY2(!(perms & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther)),
                     qPrintable(file));
        }
    }

    // A trigger planted in the data file would act on start-up's own first write.
    void foreignTriggersAndViewsAreDroppedOnceAndTheFileKept() {
        Install in;
        QVERIFY(QFile::copy(in.paths.templateFile(), in.paths.dataFile()));
        {
            DataFile db(in.paths.dataFile());
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER redirect AFTER UPDATE ON System BEGIN"
                                           " UPDATE System SET MailPOP3 = '127.0.0.2'; END")));
            QVERIFY(db.exec(QStringLiteral("CREATE VIEW Notes AS SELECT * FROM QNotes")));
        }
        const auto result = in.check();
        QVERIFY(result.firstRun);
        QVERIFY(result.cleanupMessage.contains(QStringLiteral("- trigger redirect\n- view Notes")));
        QVERIFY(result.cleanupMessage.contains(in.paths.dataFile() + ".before-cleanup"));
        QCOMPARE(in.stored().mailServer, QString());
        const QString count = QStringLiteral("SELECT count(*) FROM sqlite_master"
                                             " WHERE type IN ('trigger', 'view')");
        QCOMPARE(DataFile(in.paths.dataFile()).scalar(count).toInt(), 0);
        QCOMPARE(DataFile(in.paths.dataFile() + ".before-cleanup").scalar(count).toInt(), 2);
        QCOMPARE(in.check().cleanupMessage, QString());
    }

    void leftoversOfInterruptedCopiesGoAtStart() {
        Install in;
        in.check();
        QFile part(in.paths.dataFile() + QStringLiteral(".part-a1b2c3"));
        QVERIFY(part.open(QIODevice::WriteOnly));
        part.close();
        in.check();
        QVERIFY(!part.exists());
    }

    // A file its owner made read-only: read, said so, never written, never replaced.
    void aReadOnlyDataFileStaysAsItIs() {
        Install in;
        QVERIFY(QFile::copy(in.paths.templateFile(), in.paths.dataFile()));
        QVERIFY(QFile::copy(in.paths.templateFile(), in.paths.replacementFile()));
        QFile::setPermissions(in.paths.dataFile(), QFile::ReadOwner);
        const QByteArray before = [&] {
            QFile f(in.paths.dataFile());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        const auto result = in.check();
        QVERIFY(result.readOnly);
        QCOMPARE(result.unreadable, QString());
        QVERIFY(!result.firstRun);
        QCOMPARE(in.stored().notifyAgo, 255);
        QCOMPARE(modeOf(in.paths.dataFile()), 0400);
        QFile f(in.paths.dataFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QVERIFY(QFileInfo::exists(in.paths.replacementFile()));
        // Writers are refused by the connection itself, even for root.
        QVERIFY(!SettingsStore(in.paths.dataFile()).update([](Settings& s) { s.mailUser = "x"; }));
    }

    // Modes are changed on the file, never through a link to somewhere else.
    void permissionsNeverFollowALink() {
        Install in;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("shared.plm"));
        QVERIFY(QFile::copy(in.paths.templateFile(), target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                          QFile::ReadOther);
        QVERIFY(QFile::link(target, in.paths.dataFile()));
        in.check();
        QCOMPARE(modeOf(target), 0644);
    }

    void aMissingTemplateLeavesNoDataFile() {
        QTemporaryDir dir;
        const AppPaths paths(dir.path(), dir.path());
        const auto result = SettingsCheck(paths, programSchema()).run();
        QVERIFY(result.failedSteps > 0);
        QVERIFY(!result.firstRun);
        QVERIFY(!QFileInfo::exists(paths.dataFile()));
    }

    void aReadOnlyFolderIsSurvived() {
        RUN_UNPRIVILEGED_AS_ROOT(); // root ignores folder permissions
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
