// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LocaleFormats.h"

#include <QTest>

class LocaleFormatsTest : public QObject {
    Q_OBJECT
    const QDate December5 = QDate(2026, 12, 5);
    const QTime Evening = QTime(19, 5, 40);

private Q_SLOTS:
    // English texts keep "h:mm AM/PM" whatever the region; other languages write their own
    // short time. Never seconds.
    void clockTime_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("en_US") << "en_US" << Evening << "7:05 PM";
        QTest::newRow("en_GB keeps AM/PM") << "en_GB" << Evening << "7:05 PM";
        QTest::newRow("C") << "C" << Evening << "7:05 PM";
        QTest::newRow("midnight") << "en_US" << QTime(0, 0) << "12:00 AM";
        QTest::newRow("de_DE") << "de_DE" << Evening << "19:05";
        QTest::newRow("de_DE morning") << "de_DE" << QTime(7, 5) << "07:05";
        QTest::newRow("fr_FR") << "fr_FR" << Evening << "19:05";
    }
    void clockTime() {
        QFETCH(QString, locale);
        QFETCH(QTime, time);
        QTEST(LocaleFormats::clockTime(time, QLocale(locale)), "text");
    }

    // The locale's short time to the minute, also where its format carries seconds.
    void shortTime() {
        QCOMPARE(LocaleFormats::shortTime(Evening, QLocale::c()), "19:05");
        QCOMPARE(LocaleFormats::shortTime(Evening, QLocale(QStringLiteral("en_US"))), "7:05 PM");
        QCOMPARE(LocaleFormats::shortTime(Evening, QLocale(QStringLiteral("de_DE"))), "19:05");
        QCOMPARE(LocaleFormats::shortTime(QTime(), QLocale::c()), QString());
    }

    // A time picker shows what the list writes: AM/PM where the texts are English, the
    // locale's own clock elsewhere, to the minute.
    void pickerTimeFormat() {
        const QTime morning(7, 5);
        for (const char* name : {"C", "en_US", "en_GB", "de_DE", "fr_FR"}) {
            const QLocale locale(QString::fromLatin1(name));
            const QString format = LocaleFormats::pickerTimeFormat(locale);
            QVERIFY2(!format.contains(u's'), name);
            const QString shown = locale.toString(morning, format);
            QCOMPARE(locale.toTime(shown, format), morning);
        }
        QCOMPARE(LocaleFormats::pickerTimeFormat(QLocale::c()), "hh:mm AP");
        QCOMPARE(QLocale(QStringLiteral("de_DE"))
                     .toString(Evening,
                               LocaleFormats::pickerTimeFormat(QLocale(QStringLiteral("de_DE")))),
                 "19:05");
    }

    void shortDate() {
        QCOMPARE(LocaleFormats::shortDate(December5, QLocale(QStringLiteral("en_GB"))),
                 "05/12/2026");
        QCOMPARE(LocaleFormats::shortDate(December5, QLocale(QStringLiteral("de_DE"))), "05.12.26");
        QCOMPARE(LocaleFormats::shortDate(QDate(), QLocale::c()), QString());
    }

    // The month standing alone, not as inside a date: Russian "декабрь", not "декабря".
    void monthHeading() {
        QCOMPARE(LocaleFormats::monthHeading(December5, QLocale(QStringLiteral("de_DE"))),
                 "Dezember 2026");
        QCOMPARE(LocaleFormats::monthHeading(December5, QLocale(QStringLiteral("en_US"))),
                 "December 2026");
        QCOMPARE(LocaleFormats::monthHeading(December5, QLocale::c()), "December 2026");
        const QLocale russian(QStringLiteral("ru_RU"));
        QCOMPARE(LocaleFormats::monthHeading(December5, russian),
                 russian.standaloneMonthName(12) + QStringLiteral(" 2026"));
        QVERIFY(LocaleFormats::monthHeading(December5, russian) !=
                russian.toString(December5, QStringLiteral("MMMM yyyy")));
        QCOMPARE(LocaleFormats::monthHeading(QDate(), QLocale::c()), QString());
    }

    // The program's own call reads the environment: LC_TIME picks the formats even when the
    // texts' language says otherwise.
    void timeLocaleFromEnvironment() {
        qputenv("LC_ALL", "");
        qputenv("LC_MESSAGES", "en_US.UTF-8");
        qputenv("LC_TIME", "de_DE.UTF-8");
        qputenv("LANG", "C.UTF-8");
        const QLocale locale = LocaleFormats::timeLocale();
        QCOMPARE(LocaleFormats::clockTime(Evening, locale), "19:05");
        QCOMPARE(LocaleFormats::monthHeading(December5, locale), "Dezember 2026");
        qputenv("LC_TIME", "");
        QCOMPARE(LocaleFormats::clockTime(Evening, LocaleFormats::timeLocale()), "7:05 PM");
    }
};

QTEST_GUILESS_MAIN(LocaleFormatsTest)
#include "tst_localeformats.moc"
