// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "options/OptionsForm.h"

#include <QTemporaryDir>
#include <QTest>

using Field = Settings::Field;

class TestOptionsForm : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    FakeClock m_clock;

    QString dataFile() const { return m_dir.filePath(QStringLiteral("data.plm")); }
    // Every write to the System row fails as a full disk does, or succeeds again.
    static bool refuseWrites(const QString& file, bool refuse) {
        return DataFile(file).exec(
            refuse ? QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON System BEGIN "
                                    "SELECT RAISE(ABORT, 'no room left'); END")
                   : QStringLiteral("DROP TRIGGER refuse"));
    }

private Q_SLOTS:
    // At most one country list, none without the international one; a country that goes is
    // written before the one that comes.
    void holidayBoxes_data() {
        QTest::addColumn<QList<bool>>("start"); // international, USA, Canada
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QList<bool>>("after");
        QTest::addColumn<QList<Field>>("fields");
        QTest::newRow("USA while Canada is set")
            << QList<bool>{true, false, true} << int(Field::AddAmerica) << true
            << QList<bool>{true, true, false} << QList<Field>{Field::AddCanada, Field::AddAmerica};
        QTest::newRow("Canada while neither is set")
            << QList<bool>{true, false, false} << int(Field::AddCanada) << true
            << QList<bool>{true, false, true} << QList<Field>{Field::AddCanada};
        QTest::newRow("USA cleared")
            << QList<bool>{true, true, false} << int(Field::AddAmerica) << false
            << QList<bool>{true, false, false} << QList<Field>{Field::AddAmerica};
        QTest::newRow("international cleared")
            << QList<bool>{true, true, false} << int(Field::AddHolidays) << false
            << QList<bool>{false, false, false}
            << QList<Field>{Field::AddAmerica, Field::AddCanada, Field::AddHolidays};
        QTest::newRow("international set")
            << QList<bool>{false, false, false} << int(Field::AddHolidays) << true
            << QList<bool>{true, false, false} << QList<Field>{Field::AddHolidays};
    }

    void holidayBoxes() {
        QFETCH(QList<bool>, start);
        QFETCH(int, box);
        QFETCH(bool, on);
        QFETCH(QList<bool>, after);
        QFETCH(QList<Field>, fields);
        Settings s;
        s.addHolidays = start[0];
        s.addAmerica = start[1];
        s.addCanada = start[2];
        QCOMPARE(OptionsForm::holidayBox(s, Field(box), on), fields);
        QCOMPARE((QList<bool>{s.addHolidays, s.addAmerica, s.addCanada}), after);
    }

    // A failed write keeps its fields, which go with the next write once the file takes it;
    // dropped, they are not written.
    void writerKeepsWhatFailed() {
        QCOMPARE(programSchema().createTemplate(dataFile(), m_clock.today()), QString());
        const SettingsStore store(dataFile());
        SettingsWriter writer(store);
        Settings values = store.load().value();
        values.notifyAgo = 4;
        values.showEvery = 20;

        QVERIFY(refuseWrites(dataFile(), true));
        QVERIFY(!writer.write({Field::NotifyAgo}, values));
        QVERIFY2(writer.lastError().contains(QLatin1String("no room left")),
                 qPrintable(writer.lastError()));
        QCOMPARE(writer.pending(), QList<Field>{Field::NotifyAgo});
        QVERIFY(!writer.write({Field::ShowEvery, Field::NotifyAgo}, values));
        QCOMPARE(writer.pending(), (QList<Field>{Field::NotifyAgo, Field::ShowEvery}));

        QVERIFY(refuseWrites(dataFile(), false));
        QCOMPARE(writer.write({}, values), (QList<Field>{Field::NotifyAgo, Field::ShowEvery}));
        QVERIFY(writer.pending().isEmpty());
        QCOMPARE(store.load()->notifyAgo, 4);
        QCOMPARE(store.load()->showEvery, 20);

        QVERIFY(refuseWrites(dataFile(), true));
        values.notifyAgo = 9;
        QVERIFY(!writer.write({Field::NotifyAgo}, values));
        writer.dropPending();
        QVERIFY(refuseWrites(dataFile(), false));
        const std::optional<QList<Field>> nothing = writer.write({}, values);
        QVERIFY(nothing && nothing->isEmpty());
        QCOMPARE(store.load()->notifyAgo, 4);
    }
};

QTEST_MAIN(TestOptionsForm)
#include "tst_optionsform.moc"
