// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "app/StoreSet.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/caldav/CalendarSync.h"
#include "calendar/ui/CalendarSyncBox.h"
#include "data/DataBackup.h"
#include "mail/MailCheckState.h"
#include "mail/ui/MailAccountBox.h"
#include "mail/ui/MailOptionsGroup.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/Fifo.h"
#include "mock/ProgramTools.h"
#include "options/SoundChoice.h"
#include "options/ui/Options.h"
#include "shell/Chime.h"
#include "shell/ShellTables.h"
#include "shell/ui/FocusRingStyle.h"
#include "shell/ui/ToolRegistry.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Settings load(const QString& dataFile) {
    return SettingsStore(dataFile).load().value_or(Settings{});
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

    QTemporaryDir m_program, m_tmp;
    FakeClock m_clock;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<AppContext> m_context;
    QList<int> m_unloaded;
    ToolRegistry m_tools; // the program's

    QString dataFile() const { return m_context->paths.dataFile(); }
    QString rmwav() const { return m_context->paths.file(QStringLiteral("rmwav")); }
    template <typename F> void store(F&& change) {
        QVERIFY(SettingsStore(dataFile()).update(std::forward<F>(change)));
    }

    // The page with the mail watch's group, as the program makes it.
    std::unique_ptr<Options> open(MailCheckState* mailState = nullptr) {
        auto page = std::make_unique<Options>(*m_context);
        connect(page.get(), &Options::keepTool, this, [this](int button) { m_unloaded << button; });
        // Every tool but Options, as OptionsTool gives them.
        page->toolButtons = m_tools.toolButtons();
        page->toolButtons.removeAll(toolButton("Options"));
        page->addGroup(new MailOptionsGroup(*m_context, mailState));
        return page;
    }

    // The page on screen with the calendar sync group added after it was laid out, as the
    // program shows it.
    struct ShownPage {
        StoreSet data;
        CalendarSync sync;
        std::unique_ptr<Options> page;
        ShownPage(const QString& dataFile, Clock& clock, SecretStore& secrets)
            : data(dataFile), sync(data.stores(), clock, secrets, {}) {}
    };
    std::unique_ptr<ShownPage> showWithSync() {
        auto shown = std::make_unique<ShownPage>(dataFile(), m_clock, m_context->secrets);
        shown->page = open();
        shown->page->resize(620, 500);
        shown->page->show();
        if (!QTest::qWaitForWindowExposed(shown->page.get()))
            qWarning("the Options page was not exposed");
        shown->page->addGroup(new CalendarSyncBox(m_context->stores.get<CalDavStore>(),
                                                  m_context->secrets, m_context->dialogs,
                                                  &shown->sync));
        QApplication::processEvents();
        return shown;
    }

    template <typename T = QWidget> static T* control(const Options& page, const char* name) {
        return page.findChild<T*>(QLatin1String(name));
    }

    static QStringList written(const QSignalSpy& spy) {
        QStringList columns;
        for (const QList<QVariant>& signal : spy)
            columns << Settings::columnName(signal.at(0).value<Settings::Field>());
        return columns;
    }

private Q_SLOTS:
    void initTestCase() {
        // Nothing here may read or write the real user's configuration.
        QStandardPaths::setTestModeEnabled(true);
        registerProgramTools(m_tools);
    }

    void init() {
        m_desktop = std::make_unique<FakeDesktop>();
        m_context = std::make_unique<AppContext>(
            m_desktop->context(AppPaths(m_program.path(), m_program.path()), m_clock));
        QFile::remove(dataFile());
        QFile::remove(rmwav());
        QCOMPARE(programSchema().createTemplate(dataFile(), m_clock.today()), QString());
        m_unloaded.clear();
    }

    // Filling writes nothing; the mail interval box starts from the stored interval, so
    // its first step goes on from the number shown; an empty RmWav shows reminder.wav.
    void fillsWithoutWriting() {
        store([](Settings& s) {
            s.checkMailMinutes = 5;
            s.addAmerica = true;
            s.mailPassword = QStringLiteral(" pw ");
        });
        const QByteArray before = readFile(dataFile());
        const auto page = open();
        QCOMPARE(readFile(dataFile()), before);
        QCOMPARE(control<QPushButton>(*page, "WavCmd")->text(), QStringLiteral("reminder.wav"));
        QCOMPARE(control<QLineEdit>(*page, "OEPwdTB")->text(), QStringLiteral(" pw "));
        QVERIFY(!control(*page, "AddAmericaChk")->isEnabled()); // international is off
        QVERIFY(!control(*page, "OEUserTB")->isEnabled());      // mail check is off
        control<QCheckBox>(*page, "ChkEmailChk")->click();
        QVERIFY(control(*page, "OEUserTB")->isEnabled());
        control<QSpinBox>(*page, "CheckMailUD")->stepUp();
        QCOMPARE(load(dataFile()).checkMailMinutes, 6);
    }

    // Every group of the page gets the height its rows need, also once the calendar sync
    // group is added after the page was laid out; the calendar sync's status line takes as
    // many lines as a long failure needs, and the frame grows with it (also run at scale 2).
    void groupsGetTheirHeight() {
        const auto shown = showWithSync();
        const Options* page = shown->page.get();
        const QList<QGroupBox*> groups = page->findChildren<QGroupBox*>();
        QVERIFY(groups.size() >= 5);
        for (const QGroupBox* group : groups)
            QVERIFY2(group->height() >= group->minimumSizeHint().height(),
                     qPrintable(group->objectName()));

        auto* status = control<QLabel>(*page, "CalDavStatusLb");
        const int oneLine = status->height();
        CalDavAccount a;
        a.server = "https://dav.example.org/";
        a.calendar = "https://dav.example.org/cal/";
        QVERIFY(CalDavStore(dataFile()).saveAccount(a));
        const QString why = "could not connect to dav.example.org:443 (the remote host closed "
                            "the connection before the answer; the certificate chain could not "
                            "be checked against the system's authorities)";
        QVERIFY(
            CalDavStore(dataFile()).recordResult(m_clock.now(), "Stopped: " + why, 0, 0, false));
        page->findChild<CalendarSyncBox*>()->fill();
        QApplication::processEvents();
        QVERIFY2(status->text().contains(why), qPrintable(status->text()));
        const QString shots = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        if (!shots.isEmpty() && QDir().mkpath(shots))
            page->findChild<CalendarSyncBox*>()->grab().save(QDir(shots).filePath(
                QStringLiteral("options-syncstatus-x%1.png").arg(page->devicePixelRatio())));
        QVERIFY(status->height() >= status->heightForWidth(status->width()));
        QVERIFY2(status->height() >= 3 * status->fontMetrics().lineSpacing(),
                 qPrintable(QString::number(status->height())));
        QVERIFY(status->height() > oneLine);
        QVERIFY(status->geometry().bottom() < status->parentWidget()->height());
    }

    // Tab goes down the groups as they stand on the page, the calendar sync group (added
    // last) after the mail group, and each group's controls come together.
    void tabFollowsTheGroupsTopToBottom() {
        store([](Settings& s) { s.checkMail = true; });
        const auto onScreen = showWithSync();
        Options* page = onScreen->page.get();
        QVERIFY(QTest::qWaitForWindowActive(page));
        const auto groupOf = [](QWidget* w) {
            while (w && !qobject_cast<QGroupBox*>(w))
                w = w->parentWidget();
            return static_cast<QGroupBox*>(w);
        };
        QWidget* first = control(*page, "NotifyAgoUD");
        first->setFocus();
        QList<QGroupBox*> visited{groupOf(first)};
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (now == first || now->focusProxy() == first || first->focusProxy() == now)
                break;
            QGroupBox* group = groupOf(now);
            QVERIFY2(group, qPrintable(now->objectName()));
            if (group != visited.last()) {
                QVERIFY2(
                    !visited.contains(group),
                    qPrintable(group->objectName() + " reached twice, at " + now->objectName()));
                visited << group;
            }
        }
        QStringList order, shown;
        for (const QGroupBox* g : std::as_const(visited))
            order << g->objectName();
        QList<QGroupBox*> groups = page->findChildren<QGroupBox*>();
        groups.removeIf([](const QGroupBox* g) {
            return qobject_cast<QGroupBox*>(g->parentWidget()) != nullptr;
        });
        std::sort(groups.begin(), groups.end(),
                  [](const QGroupBox* a, const QGroupBox* b) { return a->y() < b->y(); });
        for (const QGroupBox* g : std::as_const(groups))
            shown << g->objectName();
        QCOMPARE(order, shown);

        // A picture of the page with the ring on a focused button, at the screen's scale
        // (run with QT_SCALE_FACTOR=2 for the double-density one).
        FocusRingStyle::install();
        QWidget* backup = control(*page, "BkRsBtn");
        backup->setFocus(Qt::TabFocusReason);
        page->findChild<QScrollArea*>()->ensureWidgetVisible(backup);
        const QString folder = QStringLiteral(PLUMORA_SCREENSHOT_DIR);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(page->grab().save(
            folder + QStringLiteral("/options-focus@%1x.png").arg(page->devicePixelRatio())));
    }

    // A page on show follows another process's write of the settings; its own writes change
    // nothing on it. Input typed and not yet written stays: other values are shown at once,
    // and when one the typed input stands for changed, a bar offers it, which "Reload"
    // shows. A hidden page reads the file when it shows again.
    void followsOtherWritersWhileShown() {
        store([](Settings& s) {
            s.checkMail = true;
            s.notifyAgo = 2;
        });
        const auto page = open();
        page->resize(620, 500);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        auto* notifyAgo = control<QSpinBox>(*page, "NotifyAgoUD");
        auto* user = control<QLineEdit>(*page, "OEUserTB");
        QWidget* bar = control(*page, "ReloadBar");
        QVERIFY(bar && !bar->isVisible());
        QCOMPARE(bar->accessibleName(), QStringLiteral("Options changed elsewhere"));
        // Another process writes through its own store; the tick tells the hub so.
        const auto elsewhere = [&](const std::function<void(Settings&)>& change) {
            store(change);
            m_context->stores.changes.announceAll();
        };
        QSignalSpy spy(page.get(), &Options::settingSaved);

        elsewhere([](Settings& s) { s.notifyAgo = 5; });
        QTRY_COMPARE(notifyAgo->value(), 5);
        QVERIFY(!bar->isVisible());

        QTest::keyClicks(user, QStringLiteral("typed"));
        control<QCheckBox>(*page, "LargeIconChk")->click();
        elsewhere([](Settings& s) { s.notifyAgo = 7; });
        QTRY_COMPARE(notifyAgo->value(), 7);
        QVERIFY(!bar->isVisible());
        QCOMPARE(user->text(), QStringLiteral("typed"));
        QCOMPARE(written(spy), QStringList{"CheckSum"}); // the small icons' column

        elsewhere([](Settings& s) { s.mailUser = QStringLiteral("other"); });
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(user->text(), QStringLiteral("typed"));
        auto* reload = control<QPushButton>(*page, "ReloadBtn");
        QVERIFY(reload->focusPolicy() & Qt::TabFocus);
        QCOMPARE(reload->text(), QStringLiteral("Reload"));
        reload->click();
        QCOMPARE(user->text(), QStringLiteral("other"));
        QVERIFY(!bar->isVisible());
        QCOMPARE(load(dataFile()).mailUser, QStringLiteral("other"));
        QCOMPARE(written(spy), QStringList{"CheckSum"});

        page->hide();
        elsewhere([](Settings& s) { s.notifyAgo = 9; });
        QApplication::processEvents();
        QCOMPARE(notifyAgo->value(), 7);
        page->show();
        QTRY_COMPARE(notifyAgo->value(), 9);

        // A number being typed is written on Return or when the box is left: until then it
        // is input too, kept when another writer changes that setting.
        QApplication::setActiveWindow(page.get());
        notifyAgo->setFocus();
        QTRY_VERIFY(notifyAgo->hasFocus());
        notifyAgo->selectAll();
        QTest::keyClicks(notifyAgo, QStringLiteral("4"));
        elsewhere([](Settings& s) { s.notifyAgo = 3; });
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(notifyAgo->cleanText(), QStringLiteral("4"));
        QCOMPARE(load(dataFile()).notifyAgo, 3);
        reload->click();
        QCOMPARE(notifyAgo->value(), 3);
        QCOMPARE(notifyAgo->cleanText(), QStringLiteral("3"));
    }

    // The calendar sync group on a page on show: its own writes leave the calendars it
    // found in place; another process's account is shown, unless a password is being typed,
    // which stays while the bar offers the new account.
    void calendarSyncFollowsOtherWriters() {
        const auto shown = showWithSync();
        const Options* page = shown->page.get();
        auto* calendars = control<QComboBox>(*page, "CalDavCalendarCb");
        calendars->addItem(QStringLiteral("Home"), QStringLiteral("https://dav.example.org/h/"));
        calendars->addItem(QStringLiteral("Work"), QStringLiteral("https://dav.example.org/w/"));
        auto* every = control<QComboBox>(*page, "CalDavEveryCb");
        every->setCurrentIndex((every->currentIndex() + 1) % every->count());
        QApplication::processEvents();
        QApplication::processEvents();
        QCOMPARE(calendars->count(), 2);
        QCOMPARE(CalDavStore(dataFile()).account()->calendar,
                 QStringLiteral("https://dav.example.org/h/"));

        const auto elsewhere = [&](const QString& server) {
            CalDavAccount a;
            a.server = server;
            a.calendar = server + QStringLiteral("cal/");
            QVERIFY(CalDavStore(dataFile()).saveAccount(a));
            m_context->stores.changes.announceAll();
        };
        elsewhere(QStringLiteral("https://other.example.org/"));
        auto* server = control<QLineEdit>(*page, "CalDavServerTB");
        QTRY_COMPARE(server->text(), QStringLiteral("https://other.example.org/"));
        QCOMPARE(calendars->count(), 1);

        auto* password = control<QLineEdit>(*page, "CalDavPwdTB");
        QTest::keyClicks(password, QStringLiteral("pw"));
        elsewhere(QStringLiteral("https://third.example.org/"));
        QTRY_VERIFY(control(*page, "ReloadBar")->isVisible());
        QCOMPARE(password->text(), QStringLiteral("pw"));
        QCOMPARE(server->text(), QStringLiteral("https://other.example.org/"));
        control<QPushButton>(*page, "ReloadBtn")->click();
        QCOMPARE(server->text(), QStringLiteral("https://third.example.org/"));
        QCOMPARE(password->text(), QString());
    }

    // The login start follows the autostart entry both ways; the data file's path is shown.
    void autostartAndDataPath() {
        const Autostart autostart(m_tmp.path(), QStringLiteral("org.example.Plumora"),
                                  QStringLiteral("/usr/bin/plumora"));
        const auto page = open();
        page->setAutostart(autostart);
        auto* box = control<QCheckBox>(*page, "AutostartChk");
        QVERIFY(!box->isChecked());
        box->click();
        QVERIFY(autostart.isEnabled());
        box->click();
        QVERIFY(!QFile::exists(autostart.entryPath()));
        QVERIFY(control<QLabel>(*page, "DataPathLb")->text().contains(dataFile()));
        QVERIFY(m_desktop->dialogs.messages.isEmpty());
    }

    // At most one country list; the international box carries both.
    void countryBoxes_data() {
        QTest::addColumn<QList<bool>>("start"); // international, USA, Canada
        QTest::addColumn<QByteArray>("clicked");
        QTest::addColumn<QList<bool>>("after");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("USA while Canada is set")
            << QList<bool>{true, false, true} << QByteArray("AddAmericaChk")
            << QList<bool>{true, true, false} << QStringList{"AddCanada", "AddAmerica"};
        QTest::newRow("clearing the international box")
            << QList<bool>{true, true, false} << QByteArray("AddHolidaysChk")
            << QList<bool>{false, false, false}
            << QStringList{"AddAmerica", "AddCanada", "AddHolidays"};
    }

    void countryBoxes() {
        QFETCH(QList<bool>, start);
        QFETCH(QByteArray, clicked);
        QFETCH(QList<bool>, after);
        QFETCH(QStringList, written);
        store([&](Settings& s) {
            s.addHolidays = start[0];
            s.addAmerica = start[1];
            s.addCanada = start[2];
        });
        const auto page = open();
        QSignalSpy spy(page.get(), &Options::settingSaved);
        control<QCheckBox>(*page, clicked.constData())->click();

        const Settings s = load(dataFile());
        QCOMPARE((QList<bool>{s.addHolidays, s.addAmerica, s.addCanada}), after);
        const char* names[] = {"AddHolidaysChk", "AddAmericaChk", "AddCanadaChk"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(control<QCheckBox>(*page, names[i])->isChecked(), after[i]);
            QCOMPARE(control(*page, names[i])->isEnabled(), i == 0 || after[0]);
        }
        QCOMPARE(this->written(spy), written);
    }

    // User name and password are written once on leaving, only when edited; choosing
    // Options again while it shows keeps what was typed.
    void accountWrittenOnLeavingWhenEdited_data() {
        QTest::addColumn<QByteArray>("edited"); // the box typed into; empty: none
        QTest::newRow("password edited") << QByteArray("OEPwdTB");
        QTest::newRow("nothing edited") << QByteArray();
    }

    void accountWrittenOnLeavingWhenEdited() {
        QFETCH(QByteArray, edited);
        // No keyring: the password is kept in the data file.
        m_desktop->secrets.available = false;
        store([](Settings& s) {
            s.checkMail = true;
            s.mailPassword = QStringLiteral("old");
        });
        const auto page = open();
        page->show();
        QSignalSpy spy(page.get(), &Options::settingSaved);
        if (!edited.isEmpty())
            QTest::keyClicks(control(*page, edited.constData()), QStringLiteral("2"));
        // Meanwhile start-up found another account and cleared the password.
        store([](Settings& s) { s.mailPassword = QStringLiteral("cleared"); });
        page->activated();
        page->aboutToHide();
        page->aboutToHide();
        const QString expected =
            edited.isEmpty() ? QStringLiteral("cleared") : QStringLiteral("old2");
        QTRY_COMPARE(this->written(spy), edited.isEmpty() ? QStringList{} : QStringList{"MailPwd"});
        QCOMPARE(load(dataFile()).mailPassword, expected);
        QCOMPARE(control<QLineEdit>(*page, "OEPwdTB")->text(), expected);
    }

    // A typed account's server, type, port and security are the user's to set, written when
    // the page is left; the port follows the type and security while it is the usual one.
    // An account from the mail program is shown, not edited. Where the password is kept is
    // said.
    void mailAccountFields() {
        store([](Settings& s) {
            s.checkMail = true;
            s.mailPassword = QStringLiteral("pw");
        });
        auto page = open();
        page->show();
        auto* server = control<QLineEdit>(*page, "MailServerTB");
        auto* type = control<QComboBox>(*page, "MailTypeCb");
        auto* port = control<QSpinBox>(*page, "MailPortUD");
        auto* security = control<QComboBox>(*page, "MailSecurityCb");
        QVERIFY(server && type && port && security);
        QVERIFY(!server->isReadOnly() && type->isEnabled());
        QCOMPARE(port->value(), 110);
        QStringList securities;
        for (int i = 0; i < security->count(); ++i)
            securities << security->itemText(i);
        QCOMPARE(securities, (QStringList{"SSL/TLS", "STARTTLS", "None"}));
        QCOMPARE(control<QLabel>(*page, "MailPwdPlaceLb")->text(),
                 QStringLiteral("Stored in Plumora's data file (no keyring found)"));

        QSignalSpy spy(page.get(), &Options::settingSaved);
        QTest::keyClicks(server, QStringLiteral("imap.example.org"));
        type->setCurrentIndex(type->findText(QStringLiteral("IMAP")));
        QCOMPARE(port->value(), 143);
        security->setCurrentIndex(security->findText(QStringLiteral("SSL/TLS")));
        QCOMPARE(port->value(), 993);
        QVERIFY(written(spy).isEmpty());
        page->aboutToHide();
        QCOMPARE(written(spy), (QStringList{"MailPOP3", "MailType", "MailPort", "MailSSL"}));
        const Settings s = load(dataFile());
        QCOMPARE(s.mailServer, QStringLiteral("imap.example.org"));
        QCOMPARE(s.mailType, QStringLiteral("imap"));
        QCOMPARE(s.mailPort, 993);
        QCOMPARE(s.mailSecurity, 3);
        // A typed account keeps its password when its server changes.
        QCOMPARE(s.mailPassword, QStringLiteral("pw"));

        // A port the user chose stays when the security changes.
        port->setValue(10993);
        security->setCurrentIndex(security->findText(QStringLiteral("STARTTLS")));
        QCOMPARE(port->value(), 10993);

        store([](Settings& s) {
            s.mailDiscovered = true;
            s.mailPassword.clear();
            s.mailPasswordInKeyring = true;
        });
        page = open();
        QVERIFY(control<QLineEdit>(*page, "MailServerTB")->isReadOnly());
        QVERIFY(!control<QComboBox>(*page, "MailTypeCb")->isEnabled());
        QCOMPARE(control<QLabel>(*page, "MailPwdPlaceLb")->text(),
                 QStringLiteral("Stored in the desktop's keyring"));
    }

    // A password typed while a keyring answers goes there when the field is left, and the
    // data file never holds it; a copy left in the file by an earlier run goes. "Check now"
    // right after typing checks once the password is kept.
    void typedPasswordGoesToTheKeyringAtOnce() {
        store([](Settings& s) {
            s.checkMail = true;
            s.mailPassword = QStringLiteral("left");
        });
        MailCheckState state;
        int checks = 0;
        std::optional<Settings> atCheck;
        state.checkNow = [&] {
            ++checks;
            atCheck = load(dataFile());
            return true;
        };
        const auto page = open(&state);
        page->show();
        auto* password = control<QLineEdit>(*page, "OEPwdTB");
        password->clear();
        QTest::keyClicks(password, QStringLiteral("s3cret"));
        QTest::mouseClick(control<QPushButton>(*page, "MailCheckNowCmd"), Qt::LeftButton);
        QCOMPARE(checks, 0);
        // Until the keyring has answered, the file holds what it did; then not even that.
        QCOMPARE(load(dataFile()).mailPassword, QStringLiteral("left"));
        QTRY_COMPARE(checks, 1);
        QCOMPARE(checks, 1);
        QCOMPARE(atCheck->mailPassword, QString());
        QVERIFY(atCheck->mailPasswordInKeyring);
        QCOMPARE(m_desktop->secrets.secrets.value(QStringLiteral("mail")),
                 QStringLiteral("s3cret"));
        QCOMPARE(control<QLabel>(*page, "MailPwdPlaceLb")->text(),
                 QLatin1String(MailAccountBox::KeptInKeyring));
        QCOMPARE(control<QLabel>(*page, "MailStatusLb")->text(), QStringLiteral("Checking..."));
        // The check's result replaces it.
        state.recordFailure(QDateTime(m_clock.today(), QTime(10, 42)),
                            QStringLiteral("could not connect to mail.example.org:993 "
                                           "(connection refused)"),
                            MailCheckState::Origin::User);
        QCOMPARE(control<QLabel>(*page, "MailStatusLb")->text(),
                 QStringLiteral("Last check 10:42: could not connect to mail.example.org:993 "
                                "(connection refused)"));

        // Typed and finished with Return: stored without a check.
        QTest::keyClicks(password, QStringLiteral("other"));
        QTest::keyClick(password, Qt::Key_Return);
        QTRY_COMPARE(m_desktop->secrets.secrets.value(QStringLiteral("mail")),
                     QStringLiteral("other"));
        QCOMPARE(load(dataFile()).mailPassword, QString());
        QCOMPARE(checks, 1);
    }

    // The group is named after the mail program only when it is one Plumora knows; a typed
    // account starts secured, its security following the usual secured ports, and "None"
    // is warned about.
    void mailGroupTitleAndSecurity() {
        store([](Settings& s) { s.checkMail = true; });
        m_desktop->mail.mailProgram = {QString(), QStringLiteral("your mail program"), false};
        auto page = open();
        QCOMPARE(control<QGroupBox>(*page, "EmailFrame")->title(), QStringLiteral("E-mail"));
        page->show();
        auto* port = control<QSpinBox>(*page, "MailPortUD");
        auto* security = control<QComboBox>(*page, "MailSecurityCb");
        auto* warning = control<QLabel>(*page, "MailSecurityWarnLb");
        QCOMPARE(security->currentText(), QStringLiteral("STARTTLS"));
        QCOMPARE(port->value(), 110);
        QVERIFY(!warning->isVisible());
        port->setValue(995);
        QCOMPARE(security->currentText(), QStringLiteral("SSL/TLS"));
        port->setValue(143);
        QCOMPARE(security->currentText(), QStringLiteral("STARTTLS"));
        security->setCurrentIndex(security->findText(QStringLiteral("None")));
        QVERIFY(warning->isVisible());
        QCOMPARE(port->value(), 143);
        // None is the user's choice: a usual port does not take it away.
        port->setValue(110);
        QCOMPARE(security->currentText(), QStringLiteral("None"));
        QTest::keyClicks(control<QLineEdit>(*page, "MailServerTB"), QStringLiteral("mx"));
        page->aboutToHide();
        QCOMPARE(load(dataFile()).mailSecurity, int(MailSecurity::None));

        m_desktop->mail.mailProgram = {QStringLiteral("thunderbird.desktop"),
                                       QStringLiteral("Thunderbird"), true};
        page = open();
        QCOMPARE(control<QGroupBox>(*page, "EmailFrame")->title(),
                 QStringLiteral("Thunderbird E-mail"));
        page->show();
        // A stored account keeps its security, warned about.
        QCOMPARE(control<QComboBox>(*page, "MailSecurityCb")->currentText(),
                 QStringLiteral("None"));
        QVERIFY(control<QLabel>(*page, "MailSecurityWarnLb")->isVisible());
    }

    // The chosen file becomes rmwav and RmWav; an unreadable one keeps the old sound.
    // A screen reader sets the text as a whole, without keys: that is an edit too. The
    // data file's label reads out its path.
    void accountSetByAScreenReaderIsWritten() {
        store([](Settings& s) { s.checkMail = true; });
        const auto page = open();
        page->show();
        QAccessibleInterface* user =
            QAccessible::queryAccessibleInterface(control(*page, "OEUserTB"));
        QVERIFY(user);
        user->setText(QAccessible::Value, QStringLiteral("reader@example.org"));
        page->aboutToHide();
        QCOMPARE(load(dataFile()).mailUser, QStringLiteral("reader@example.org"));
        QAccessibleInterface* path =
            QAccessible::queryAccessibleInterface(control(*page, "DataPathLb"));
        QVERIFY(path->text(QAccessible::Name).contains(m_context->paths.dataFile()));
    }

    // The chosen file becomes rmwav and RmWav; an unreadable one, or one that is no sound,
    // keeps the old sound and says why.
    void soundChooser_data() {
        QTest::addColumn<QString>("choice");
        QTest::newRow("a wave file") << QStringLiteral("bell.wav");
        QTest::newRow("unreadable") << QStringLiteral("missing.wav");
        QTest::newRow("a pipe, which must not block") << QStringLiteral("pipe.wav");
        QTest::newRow("text named .wav") << QStringLiteral("text.wav");
    }

    void soundChooser() {
        QFETCH(QString, choice);
        writeFile(rmwav(), "old sound");
        writeFile(m_tmp.filePath(QStringLiteral("bell.wav")), Chime::wav());
        writeFile(m_tmp.filePath(QStringLiteral("text.wav")), "RIFF....WAVE but only words");
        const QString pipe = m_tmp.filePath(QStringLiteral("pipe.wav"));
        QFile::remove(pipe);
        QVERIFY(Fifo::make(pipe));
        const QString chosen = m_desktop->dialogs.fileChoice = m_tmp.filePath(choice);
        const auto page = open();
        auto* button = control<QPushButton>(*page, "WavCmd");
        QVERIFY(
            Fifo::finishesWithin([&] { SoundChoice::install(m_context->paths, chosen); }, {pipe}));
        button->click();
        const bool taken = choice == QLatin1String("bell.wav");
        QCOMPARE(readFile(rmwav()), taken ? Chime::wav() : QByteArray("old sound"));
        QCOMPARE(load(dataFile()).reminderSound, taken ? chosen : QString());
        QCOMPARE(control<QPushButton>(*page, "WavCmd")->text(),
                 taken ? choice : QStringLiteral("reminder.wav"));
        QCOMPARE(m_desktop->dialogs.messages.size(), taken ? 0 : 1);
        if (choice == QLatin1String("text.wav"))
            QVERIFY(m_desktop->dialogs.messages[0].text.contains(
                QLatin1String("not a sound that can be played")));
        // "Play" lets the user hear the sound the reminder plays.
        QSignalSpy played(page.get(), &Options::soundPlayed);
        control<QPushButton>(*page, "PlayWavCmd")->click();
        QCOMPARE(played.size(), 1);
        QCOMPARE(QFileInfo(played[0][0].toString()).fileName(),
                 taken ? choice : QStringLiteral("reminder.wav"));
    }

    // Only a wave file whose chunks hold a playable format and sound data is taken.
    void playableWaves() {
        const QByteArray bell = Chime::wav();
        QVERIFY(SoundChoice::isPlayableWave(bell));
        // A chunk of odd length before the format, padded as RIFF wants.
        QByteArray listed = bell;
        listed.insert(12, QByteArray("LIST\x03\0\0\0abc\0", 12));
        QVERIFY(SoundChoice::isPlayableWave(listed));
        QVERIFY(!SoundChoice::isPlayableWave(bell.left(40)));   // cut before its sound
        QVERIFY(!SoundChoice::isPlayableWave(bell.left(30)));   // cut inside the format
        QVERIFY(!SoundChoice::isPlayableWave(bell.mid(0, 12))); // no chunk at all
        QByteArray compressed = bell;
        compressed[20] = 0x55; // MP3 inside a wave file
        QVERIFY(!SoundChoice::isPlayableWave(compressed));
        QByteArray silentFormat = bell;
        silentFormat[22] = 0; // no channels
        QVERIFY(!SoundChoice::isPlayableWave(silentFormat));
        QVERIFY(!SoundChoice::isPlayableWave(QByteArray("RIFF")));
    }

    // Backup and restore through the page: the messages, the question before a restore,
    // the data file afterwards, and the other tools unloaded first.
    void backupAndRestore_data() {
        QTest::addColumn<int>("button");       // BkRsBtn index: 0 backup, 1 restore
        QTest::addColumn<QString>("inFolder"); // the picked folder's data.plm: plumora, other
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("dataUser"); // MailUser of data.plm afterwards

        const QString confirm = QLatin1String(DataBackup::RestoreConfirmText);
        QTest::newRow("backup over an earlier one")
            << 0 << "plumora" << QStringList{"Data has been backup to '%1/data.plm'."} << "current";
        QTest::newRow("backup fails")
            << 0 << "missing" << QStringList{"Error during backup !"} << "current";
        QTest::newRow("restore without data.plm")
            << 1 << "" << QStringList{"Data file not found !"} << "current";
        QTest::newRow("restore of a file not Plumora's")
            << 1 << "other"
            << QStringList{"'%1/data.plm' cannot be restored: it is not a Plumora data file.\n"
                           "Nothing was changed."}
            << "current";
        QTest::newRow("restore") << 1 << "plumora" << QStringList{confirm, "Restore is complete."}
                                 << "backed up";
    }

    void backupAndRestore() {
        QFETCH(int, button);
        QFETCH(QString, inFolder);
        QFETCH(QStringList, messages);
        QFETCH(QString, dataUser);
        store([](Settings& s) { s.mailUser = QStringLiteral("current"); });
        const QString folder = m_tmp.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        const QString there = folder + QStringLiteral("/data.plm");
        if (inFolder == QLatin1String("plumora")) {
            QCOMPARE(programSchema().createTemplate(there, m_clock.today()), QString());
            QVERIFY(SettingsStore(there).update(
                [](Settings& s) { s.mailUser = QStringLiteral("backed up"); }));
        } else if (inFolder == QLatin1String("other")) {
            writeFile(there, "not a data file");
        }
        m_desktop->dialogs.folderChoice =
            inFolder == QLatin1String("missing") ? folder + QStringLiteral("/gone") : folder;
        m_desktop->dialogs.answers = {MessageAnswer::Yes};

        const auto page = open();
        for (QPushButton* b : page->findChildren<QPushButton*>(QStringLiteral("BkRsBtn"))) {
            if (b->property("index").toInt() == button)
                b->click();
        }
        QStringList shown;
        for (const FakeDialogs::Shown& m : m_desktop->dialogs.messages)
            shown << m.text;
        QCOMPARE(shown, messages.replaceInStrings(QStringLiteral("%1"), folder));
        QCOMPARE(load(dataFile()).mailUser, dataUser);
        if (button == 0 && inFolder == QLatin1String("plumora"))
            QCOMPARE(load(there).mailUser, QStringLiteral("current"));
        QCOMPARE(control<QLineEdit>(*page, "OEUserTB")->text(), dataUser);
        QList<int> others = m_tools.toolButtons();
        others.removeAll(toolButton("Options"));
        QCOMPARE(m_unloaded, others);
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
