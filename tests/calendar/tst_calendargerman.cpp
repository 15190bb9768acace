// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar in another language: what the user reads follows the translation, what the
// rules read and the data file keeps does not.
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventExport.h"
#include "calendar/EventStore.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/caldav/CalendarSync.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/icons/IconPickRules.h"
#include "calendar/ui/CalendarSyncBox.h"
#include "calendar/ui/EditEvents.h"
#include "calendar/ui/IconPicker.h"
#include "calendar/ui/SubscribeDialog.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/MarkingTranslator.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

class TestCalendarGerman : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock;
    FakeDesktop m_desktop;
    std::unique_ptr<AppContext> m_context;
    QHash<QString, QString> m_words; // a handful of German texts
    std::optional<MarkingTranslator> m_german;
    const QDate m_day = D("2002-09-05");

    QString dataFile() const { return m_context->paths.dataFile(); }

private Q_SLOTS:
    void initTestCase() {
        m_words = {
            {"EditEvents|Icon", "Symbol"},
            {"EditEvents|Event Description", "Terminbeschreibung"},
            {"EditEvents|Repeat", "Wiederholung"},
            {"EditEvents|none", "keine"},
            {"EditEvents|weekly", QStringLiteral("w\u00f6chentlich")},
            {"EditEvents|monthly", "monatlich"},
            {"EditEvents|yearly", QStringLiteral("j\u00e4hrlich")},
            {"EditEvents|Edit Events - %1", "Termine bearbeiten - %1"},
            {"IconPicker|Please select an icon file:", QStringLiteral("Bitte w\u00e4hlen Sie:")},
            {"IconPicker| Icon Files", " Symboldateien"},
            {"IconPicker|Cancel", "Abbrechen"},
            {"IconPicker|Icon Files (*.ico *.icl *.dll *.exe *.ICO *.ICL *.DLL *.EXE)",
             "Symboldateien (*.ico *.icl *.dll *.exe *.ICO *.ICL *.DLL *.EXE)"},
            {"CalendarSync|no password is stored; type it in Options", "kein Passwort gespeichert"},
            {"CalendarSyncBox|Last attempt %1: %2. %3", "Letzter Versuch %1: %2. %3"},
            {"CalendarSyncBox|No sync has worked yet.", "Noch kein Abgleich."},
            {"CalendarImport|Imported from %1:", "Aus %1 importiert:"},
            {"CalendarImport|%1 event added", "%1 Termin neu"},
            {"CalendarImport|%1 events added", "%1 Termine neu"},
            {"CalendarImport|%1 events have no date", "%1 Termine ohne Datum"},
            {"EventExport|Event List", "Termine & Feiertage"},
            {"EventExport|(from:%1 to:%2)", "(von %1 bis %2)"},
            {"EventExport|Date", "Datum"},
            {"SubscribeDialog|https://... or webcal://...",
             "Die Adresse des Kalenders: https://... oder webcal://..."},
        };
    }

    void init() {
        m_german.emplace(MarkingTranslator::Nothing);
        m_german->translations = m_words;
        m_context = std::make_unique<AppContext>(
            m_desktop.context(AppPaths(m_dir.path(), m_dir.path()), m_clock));
        QFile::remove(dataFile());
        QCOMPARE(programSchema().createTemplate(dataFile(), m_day), QString());
    }
    void cleanup() { m_german.reset(); }

    // The editor shows German repeat words; the rules get, and the data file keeps, the
    // frequency the chosen word stands for.
    void editorRepeatsInGerman() {
        QVERIFY(EventStore(dataFile()).add(makeEvent("2002-09-05", 3, "Swim")));
        EditEvents e(*m_context, m_day, HolidayFlags{});
        e.show();
        QVERIFY(e.windowTitle().startsWith("Termine bearbeiten - "));
        auto* grid = e.findChild<QTableWidget*>("EventsGrid");
        QCOMPARE(grid->horizontalHeaderItem(EditEvents::MarkCol)->text(), "X");
        QCOMPARE(grid->horizontalHeaderItem(EditEvents::DescCol)->text(), "Terminbeschreibung");
        // A caption longer than the English one still fits its column.
        const QFontMetrics fm(grid->font());
        QVERIFY(grid->columnWidth(EditEvents::RepeatCol) > fm.horizontalAdvance("Wiederholung"));
        QCOMPARE(grid->item(0, EditEvents::RepeatCol)->text(), QStringLiteral("w\u00f6chentlich"));
        QCOMPARE(grid->item(1, EditEvents::RepeatCol)->text(), QString());

        e.clickCell(0, EditEvents::RepeatCol);
        auto* repeat = e.findChild<QComboBox*>("RepeatCb");
        QCOMPARE(repeat->currentIndex(), 1); // opens on the row's own repeat
        QCOMPARE(repeat->itemText(3), QStringLiteral("j\u00e4hrlich"));
        Q_EMIT repeat->activated(3);
        repeat->hidePopup();
        QCOMPARE(grid->item(0, EditEvents::RepeatCol)->text(), QStringLiteral("j\u00e4hrlich"));
        QVERIFY(e.save());
        const std::vector<EventRow> rows = EventStore(dataFile()).readDay(m_day);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].frequency, 5);

        // "keine" empties the cell, as "none" does.
        EditEvents again(*m_context, m_day, HolidayFlags{});
        again.show();
        again.clickCell(0, EditEvents::RepeatCol);
        Q_EMIT again.findChild<QComboBox*>("RepeatCb")->activated(0);
        QCOMPARE(again.findChild<QTableWidget*>("EventsGrid")->item(0, 4)->text(), QString());
        QVERIFY(again.save());
        QCOMPARE(EventStore(dataFile()).readDay(m_day).at(0).frequency, 1);
    }

    // Texts kept in the program's tables are translated when shown, not when the program
    // starts, which is before the translation is loaded.
    void iconFileDialogInGerman() {
        IconFolderMemory folders;
        IconPicker picker(m_context->paths, m_context->dialogs, folders, filled(0xFF000000));
        QString title, filter;
        picker.setFileChooser([&](QWidget*, const QString& t, const QString&, const QString& f) {
            title = t;
            filter = f;
            return QString();
        });
        picker.findChild<QPushButton*>("FileBtn")->click();
        QCOMPARE(title, QStringLiteral("Bitte w\u00e4hlen Sie:"));
        QVERIFY(filter.startsWith("Symboldateien (*.ico"));
    }

    // The picker's buttons are as wide as their German captions; "Abbrechen" keeps its
    // left edge and widens the window to the right.
    void iconPickerButtonsFitGerman() {
        IconFolderMemory folders;
        IconPicker picker(m_context->paths, m_context->dialogs, folders, filled(0xFF000000));
        picker.show();
        const auto fits = [](const QPushButton* b) {
            const int need = b->fontMetrics().horizontalAdvance(b->text()) +
                             b->style()->pixelMetric(QStyle::PM_ButtonMargin);
            return b->width() >= need;
        };
        auto* file = picker.findChild<QPushButton*>("FileBtn");
        auto* cancel = picker.findChild<QPushButton*>("CancelBtn");
        QCOMPARE(file->text(), " Symboldateien");
        QCOMPARE(cancel->text(), "Abbrechen");
        QVERIFY(fits(file));
        QVERIFY(fits(cancel));
        QCOMPARE(cancel->x(), 281); // the grid's width less 660 twips
        QVERIFY(file->geometry().right() < cancel->x());
        QCOMPARE(picker.width() - cancel->geometry().right() - 1, 8); // the usual margin
    }

    // A failed sync keeps its English mark in the data file, so the status line still takes
    // it off whatever the language: only the German reason shows.
    void syncFailureInGerman() {
        CalDavAccount a;
        a.server = "https://dav.example.org/";
        a.user = "ann";
        a.calendar = "https://dav.example.org/cal/";
        QVERIFY(CalDavStore(dataFile()).saveAccount(a));
        FakeSecretStore secrets; // holds no password
        CalendarSync sync(m_context->stores, m_clock, secrets, {});
        QSignalSpy ended(&sync, &CalendarSync::finished);
        QVERIFY(sync.syncNow(CalendarSync::Origin::User));
        QTRY_COMPARE(ended.count(), 1);
        QCOMPARE(CalDavStore(dataFile()).account()->lastResult,
                 "Stopped: kein Passwort gespeichert");

        CalendarSyncBox box(m_context->stores.get<CalDavStore>(), secrets, m_context->dialogs,
                            &sync);
        const QString status = box.findChild<QLabel*>("CalDavStatusLb")->text();
        QVERIFY2(status.startsWith("Letzter Versuch ") &&
                     status.endsWith(": kein Passwort gespeichert. Noch kein Abgleich."),
                 qPrintable(status));
    }

    // The import summary puts each count where the translation has it.
    void importSummaryInGerman() {
        ImportReport report;
        report.source = "a.ics";
        report.added = 3;
        IcsImport::Notes notes;
        notes.noDate = 2;
        report.skipped = CalendarImport::skippedLines(notes, 0);
        QVERIFY(report.text().startsWith("Aus a.ics importiert:\n3 Termine neu\n"));
        QVERIFY(report.text().endsWith("\n2 Termine ohne Datum"));
    }

    // The exported page's German title and captions are HTML like any other text.
    void exportPageInGerman() {
        EventStore store(dataFile());
        QVERIFY(EventExport(store, m_dir.path())
                    .write(EventExport::SelectedDate, m_day, m_day, {})
                    .ok());
        QFile page(QDir(m_dir.path()).filePath(EventExport::PageName));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY(html.contains("<b>Termine &amp; Feiertage&nbsp; </b>"));
        QVERIFY(html.contains(QRegularExpression("size='2'>\\(von \\S+ bis \\S+\\)</font></p>")));
        QVERIFY(html.contains("<font face='Arial' size='2'>Event</font>")); // untranslated
        QVERIFY(html.contains("<font face='Arial' size='2'>Datum</font>"));
    }

    // The subscription window grows so a long hint in the address field is read whole.
    void subscribeHintReadsWhole() {
        SubscriptionRefresh refresh(m_context->stores, m_clock, m_desktop.downloads, {});
        SubscribeDialog dialog(*m_context, &refresh);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* address = dialog.findChild<QLineEdit*>("AddressTb");
        QCOMPARE(address->placeholderText(),
                 "Die Adresse des Kalenders: https://... oder webcal://...");
        // Where the field draws its text: inside the frame, less its own margin each side.
        QStyleOptionFrame frame;
        frame.initFrom(address);
        frame.lineWidth =
            address->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, address);
        frame.lineWidth =
            address->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, address);
        frame.rect = address->rect();
        const int room =
            address->style()->subElementRect(QStyle::SE_LineEditContents, &frame, address).width() -
            4;
        const int hint = address->fontMetrics().horizontalAdvance(address->placeholderText());
        QVERIFY2(room >= hint, qPrintable(QStringLiteral("%1 < %2").arg(room).arg(hint)));
    }
};

QTEST_MAIN(TestCalendarGerman)
#include "tst_calendargerman.moc"
