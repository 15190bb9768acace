// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventExport.h"
#include "calendar/EventIcons.h"
#include "calendar/EventStore.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class TestEventExport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_folder; // the program folder, with a blank and quotes in its name
    QString m_path;

    EventExport::Result exportRange(int mode, const char* date, const HolidayFlags& flags = {}) {
        EventStore store(m_path);
        return EventExport(store, m_folder).write(mode, D(date), D(date), flags);
    }
    QStringList pageLines() const {
        QFile f(QDir(m_folder).filePath(EventExport::PageName));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
        if (lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    // Each row: the picture file its img names (by file URL), its description and date.
    QStringList pageRows() const {
        QStringList out;
        const QString page = pageLines().join(u' ');
        static const QRegularExpression cell(
            QStringLiteral("src='([^']*)'[^<]*</td> <td[^>]*> <font[^>]*>(.*?)</font></td> "
                           "<td[^>]*> <font[^>]*>([0-9-]+)</font>"));
        for (const auto& m : cell.globalMatch(page))
            out << QDir(m_folder).relativeFilePath(
                       QUrl(QString(m.captured(1))
                                .replace(QStringLiteral("&#39;"), QStringLiteral("'"))
                                .replace(QStringLiteral("&amp;"), QStringLiteral("&")))
                           .toLocalFile()) +
                       u' ' + m.captured(2) + u' ' + m.captured(3);
        return out;
    }
    QStringList pictures() const {
        return QDir(m_folder).entryList({QStringLiteral("_image*")}, QDir::Files, QDir::Name);
    }
    QByteArray picture(int n) const {
        QFile f(QDir(m_folder).filePath(EventExport::pictureName(n)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init() {
        m_folder = m_dir.filePath(QStringLiteral("my 'program' & co"));
        QDir(m_folder).removeRecursively();
        QVERIFY(QDir().mkpath(m_folder));
        m_path = QDir(m_folder).filePath(QStringLiteral("data.plm"));
        QCOMPARE(programSchema().createTemplate(m_path, D("2024-01-15")), QString());
    }

    void emptyRangeWritesHeadAndFootOnly() {
        QVERIFY(exportRange(EventExport::SelectedDate, "2024-03-05").ok());
        const QStringList expected = {
            "<html>",
            "<head>",
            "<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>",
            "</head>",
            "<body>",
            "</body>",
            "<p align='center'><font face='Arial'><b>Event List&nbsp; </b></font>",
            "<font color='#808080' face='Arial' size='2'>(from:03-05-2024 "
            "to:03-05-2024)</font></p>",
            "<div align='center'>",
            "<center>",
            "<table border='1' cellpadding='0' cellspacing='0' style='border-collapse: "
            "collapse' width='650' bordercolor='#000000'>",
            "<tr>",
            "<td bgcolor='#E1E1E1' align='center' bordercolor='#808080' height='20'>&nbsp;</td>",
            "<td bgcolor='#E1E1E1' align='center' bordercolor='#808080' height='20'><b>",
            "<font face='Arial' size='2'>Event</font></b></td>",
            "<td bgcolor='#E1E1E1' align='center' bordercolor=#808080 height='20'><b>",
            "<font face='Arial' size='2'>Date</font></b></td>",
            "</tr>",
            "</table>",
            "</center>",
            "</div>",
            "</body>",
            "</html>"};
        QCOMPARE(pageLines(), expected);
        QCOMPARE(pictures(), QStringList());
    }

    void ranges_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addRow("selected date") << 1 << D("2024-02-29") << D("2024-02-29");
        QTest::addRow("selected month") << 3 << D("2024-02-01") << D("2024-02-29");
        QTest::addRow("no such mode") << 4 << QDate() << QDate();
    }
    void ranges() {
        QFETCH(int, mode);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const auto r = EventExport::range(mode, D("2024-02-29"), D("2024-02-29"));
        QCOMPARE(r.from, from);
        QCOMPARE(r.to, to);
    }

    // Coming 7 days from Tuesday 5 March 2024: 5 ... 12 March. Repeating rows are exported
    // on matching dates before they start; code 2 never; hidden holidays take no number.
    void rowsOfARange() {
        EventStore store(m_path);
        QVERIFY(store.add({
            makeEvent("2024-03-20", 3, "Wednesdays from the 20th"),
            makeEvent("2024-03-07", 2, "code two"),
            makeEvent("2024-03-13", 1, "after the range"),
            makeEvent("2024-03-07", 1, "<b>bold</b> & <script>alert('x')</script>"),
            makeEvent("2001-07-01", 5, "Canada", 102),
            makeEvent("2024-03-12", 1, QStringLiteral("F\u00eate\nnext line")),
            makeEvent("2001-03-08", 5, "Canadian day", 105),
            makeEvent("1990-01-08", 4, "Monthly on the 8th"),
        }));
        const EventExport::Result r = exportRange(EventExport::ComingDays, "2024-03-05");
        QVERIFY(r.ok());
        QCOMPARE(r.rows, 4);
        QCOMPARE(pageLines().size(), 23 + 8 * 4); // head and foot, eight lines a row
        QVERIFY(pageLines().contains(
            QStringLiteral("<font color='#808080' face='Arial' size='2'>(from:03-05-2024 "
                           "to:03-12-2024)</font></p>")));
        QCOMPARE(pageRows(),
                 (QStringList{"_image1.tmp Wednesdays from the 20th 03-06-2024",
                              "_image2.tmp &lt;b&gt;bold&lt;/b&gt; &amp; "
                              "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; 03-07-2024",
                              "_image3.tmp Monthly on the 8th 03-08-2024",
                              QStringLiteral("_image4.tmp F\u00eate<br>next line 03-12-2024")}));
        QCOMPARE(pictures().size(), 4);

        // With Canada shown its day takes the next number in date order.
        QCOMPARE(exportRange(EventExport::ComingDays, "2024-03-05", {false, true, false}).rows, 5);
        QVERIFY(pageRows().contains("_image3.tmp Canadian day 03-08-2024"));
    }

    void picturesOfRows() {
        EventStore store(m_path);
        QVERIFY(store.add({
            makeEvent("2024-03-05", 1, "own icon", 0, toPng(filled(0xFF2060A0))),
            makeEvent("2024-03-05", 1, "no icon"),
            makeEvent("2024-03-05", 1, "broken icon", 0, QByteArray("not a picture")),
            makeEvent("2024-03-05", 1, "holiday", 7),
            makeEvent("2024-03-06", 1, "alone"),
        }));
        QCOMPARE(exportRange(EventExport::SelectedDate, "2024-03-05").rows, 3); // holiday hidden
        QCOMPARE(exportRange(EventExport::SelectedDate, "2024-03-05", {true, false, false}).rows,
                 4);
        for (int n = 1; n <= 4; ++n) {
            QVERIFY(picture(n).size() >= EventExport::MinPictureBytes);
            QCOMPARE(QImage::fromData(picture(n)).size(), QSize(32, 32));
        }
        QCOMPARE(QImage::fromData(picture(1)).pixel(16, 16), 0xFF2060A0);
        QCOMPARE(picture(3), picture(2)); // the default icon stands in
        QVERIFY(picture(4) != picture(2));

        // A later, shorter export leaves only its own pictures.
        QCOMPARE(exportRange(EventExport::SelectedDate, "2024-03-06").rows, 1);
        QCOMPARE(pictures(), QStringList{"_image1.tmp"});
    }
};

QTEST_GUILESS_MAIN(TestEventExport)
#include "tst_eventexport.moc"
