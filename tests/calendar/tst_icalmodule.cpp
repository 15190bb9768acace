// SPDX-License-Identifier: GPL-3.0-or-later
// The program's iCalendar calls through the module it loads at their first use: the same
// rows and files as the linked-in code gives, from any thread, and a clear failure instead of
// an empty import or export when the module is missing.
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/EventPatch.h"
#include "calendar/ical/IcalModule.h"
#include "calendar/ical/IcsExport.h"
#include "calendar/ical/IcsImport.h"

#include <QTest>

namespace {

const QDate Today(2026, 3, 1);
const QDateTime Now(Today, QTime(12, 0), Qt::UTC);

const QByteArray Weekly = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:w@test\r\nDTSTAMP:20260101T000000Z\r\n"
                          "DTSTART;VALUE=DATE:20260302\r\nRRULE:FREQ=WEEKLY\r\n"
                          "SUMMARY:Choir\r\nX-OTHER-APP:kept\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

EventRow row(const QDate& date, const QString& text, int frequency = EventFrequency::OneTime) {
    EventRow r;
    r.eDate = date;
    r.description = text;
    r.frequency = frequency;
    r.uid = QStringLiteral("u@test");
    return r;
}

} // namespace

class IcalModuleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Missing, every call says so: an import names the module, an export or a sync's upload
    // gets nothing to write (the callers refuse it with IcalModule::failure()).
    void aMissingModuleIsSaidNotHidden() {
        const QString missing = QStringLiteral("/nonexistent/libplumora_ical.so");
        IcalModule::use(missing);
        const IcsImport::Result read = IcsImport::read(Weekly, Today);
        QVERIFY(!read.ok());
        QVERIFY2(read.error.contains(missing), qPrintable(read.error));
        QVERIFY(read.events.empty());
        QVERIFY(IcsExport::write({row(Today, QStringLiteral("Dentist"))}, Now).isEmpty());
        QVERIFY(!IcalModule::failure().isEmpty());
        QVERIFY(!IcsImport::endless(Weekly));
    }

    // Loaded, the calls give what the code gives: rows read, a file written and read back,
    // another program's event patched with its own lines kept.
    void theModuleReadsAndWrites() {
        IcalModule::use(QStringLiteral(PLUMORA_ICAL_MODULE));
        QVERIFY(IcalModule::failure().isEmpty());

        const IcsImport::Result read = IcsImport::read(Weekly, Today);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.events.size(), size_t(1));
        const IcsImport::Event& event = read.events.front();
        QCOMPARE(event.uid, QStringLiteral("w@test"));
        QCOMPARE(event.rows.size(), size_t(1));
        QCOMPARE(event.rows.front().frequency, EventFrequency::Weekly);
        QCOMPARE(event.rows.front().description, QStringLiteral("Choir"));
        QVERIFY(IcsImport::endless(Weekly));

        const std::vector<EventRow> rows{row(Today.addDays(3), QStringLiteral("Dentist"))};
        const QByteArray written = IcsExport::write(rows, Now);
        QVERIFY(written.contains("SUMMARY:Dentist"));
        const IcsImport::Result back = IcsImport::read(written, Today);
        QVERIFY2(back.ok(), qPrintable(back.error));
        QCOMPARE(back.events.size(), size_t(1));
        QCOMPARE(back.events.front().rows.front().eDate, Today.addDays(3));

        const KeptEvent kept{event.uid, Weekly, event.rows};
        std::vector<EventRow> renamed = event.rows;
        renamed.front().description = QStringLiteral("Choir practice");
        QVERIFY(EventPatch::changed(kept, renamed));
        QVERIFY(!EventPatch::changed(kept, event.rows));
        const QByteArray patched = EventPatch::write(kept, renamed, Now);
        QVERIFY(patched.contains("SUMMARY:Choir practice"));
        QVERIFY(patched.contains("X-OTHER-APP:kept"));
    }

    // Reads run on worker threads; the module may first be wanted there.
    void readsAsideGoThroughTheModule() {
        IcalModule::use(QStringLiteral(PLUMORA_ICAL_MODULE));
        std::vector<IcsImport::Result> reads;
        bool done = false;
        CalendarImport::readAside({Weekly, Weekly}, Today, QTimeZone::systemTimeZone(), this,
                                  [&](const std::vector<IcsImport::Result>& r) {
                                      reads = r;
                                      done = true;
                                  });
        QTRY_VERIFY(done);
        QCOMPARE(reads.size(), size_t(2));
        for (const IcsImport::Result& r : reads)
            QVERIFY2(r.ok() && r.events.size() == 1, qPrintable(r.error));
    }
};

QTEST_GUILESS_MAIN(IcalModuleTest)
#include "tst_icalmodule.moc"
