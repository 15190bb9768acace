// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "calendar/WeekStart.h"
#include "data/DataFile.h"

#include <QTemporaryDir>
#include <QTest>

using WeekStart::Choice;

class TestWeekStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The C library's order: LC_ALL over LC_TIME over LANG; codeset and modifier are dropped;
    // "C", an empty value and a name that is no locale give the C locale, never the
    // program's default.
    void timeLocale_data() {
        QTest::addColumn<QByteArray>("all");
        QTest::addColumn<QByteArray>("time");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("name");
        QTest::newRow("LANG") << QByteArray() << QByteArray() << QByteArray("de_DE.UTF-8")
                              << "de_DE";
        QTest::newRow("LC_TIME over LANG")
            << QByteArray() << QByteArray("fr_FR.UTF-8") << QByteArray("de_DE.UTF-8") << "fr_FR";
        QTest::newRow("LC_ALL over both")
            << QByteArray("en_GB.UTF-8") << QByteArray("fr_FR") << QByteArray("de_DE") << "en_GB";
        QTest::newRow("modifier") << QByteArray() << QByteArray("de_AT.UTF-8@euro") << QByteArray()
                                  << "de_AT";
        QTest::newRow("C") << QByteArray() << QByteArray() << QByteArray("C") << "C";
        QTest::newRow("C.UTF-8") << QByteArray() << QByteArray() << QByteArray("C.UTF-8") << "C";
        QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray() << "C";
        QTest::newRow("unknown") << QByteArray() << QByteArray() << QByteArray("xx_YY.UTF-8")
                                 << "C";
    }
    void timeLocale() {
        QFETCH(QByteArray, all);
        QFETCH(QByteArray, time);
        QFETCH(QByteArray, lang);
        QFETCH(QString, name);
        QCOMPARE(WeekStart::timeLocale(all, time, lang).name(), name);
    }

    // Sunday and Monday are fixed; "as the system does" takes the time locale's first day.
    void firstDay() {
        const QLocale german(QStringLiteral("de_DE")), american(QStringLiteral("en_US"));
        QCOMPARE(WeekStart::firstDay(Choice::Sunday, german), Qt::Sunday);
        QCOMPARE(WeekStart::firstDay(Choice::Monday, american), Qt::Monday);
        QCOMPARE(WeekStart::firstDay(Choice::System, german), Qt::Monday);
        QCOMPARE(WeekStart::firstDay(Choice::System, american), Qt::Sunday);
        QCOMPARE(WeekStart::firstDay(Choice::System, QLocale(QStringLiteral("en_GB"))), Qt::Monday);
        QCOMPARE(WeekStart::firstDay(Choice::System, QLocale(QStringLiteral("fa_IR"))),
                 Qt::Saturday);
        // LC_TIME decides, not the language of the texts.
        QCOMPARE(WeekStart::firstDay(Choice::System,
                                     WeekStart::timeLocale({}, "en_GB.UTF-8", "en_US.UTF-8")),
                 Qt::Monday);
    }

    // Sunday until a choice is stored, and for a value no choice has.
    void storedChoice() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.db"));
        QCOMPARE(programSchema().createTemplate(file, QDate(2026, 1, 1)), QString());
        QCOMPARE(WeekStart::read(file), Choice::Sunday);
        for (Choice choice : {Choice::Monday, Choice::System, Choice::Sunday}) {
            QVERIFY(WeekStart::write(file, choice));
            QCOMPARE(WeekStart::read(file), choice);
        }
        QVERIFY(DataFile(file).exec(QStringLiteral("UPDATE CalendarSettings SET WeekStart = 3")));
        QCOMPARE(WeekStart::read(file), Choice::Sunday);
        QCOMPARE(WeekStart::read(dir.filePath(QStringLiteral("missing.db"))), Choice::Sunday);
    }
};

QTEST_GUILESS_MAIN(TestWeekStart)
#include "tst_weekstart.moc"
