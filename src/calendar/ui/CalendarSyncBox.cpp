// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/CalendarSyncBox.h"

#include "calendar/caldav/CalDavDiscovery.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/caldav/CalendarSync.h"
#include "data/SaveFailures.h"
#include "platform/SecretStore.h"
#include "shell/ui/ToolPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

// The interval choices in the order shown, in minutes (0: only when asked).
const std::pair<const char*, int> Intervals[] = {
    {QT_TRANSLATE_NOOP("CalendarSyncBox", "Every 5 minutes"), 5},
    {QT_TRANSLATE_NOOP("CalendarSyncBox", "Every 15 minutes"), 15},
    {QT_TRANSLATE_NOOP("CalendarSyncBox", "Every hour"), 60},
    {QT_TRANSLATE_NOOP("CalendarSyncBox", "Only when I click Sync now"), 0},
};

template <typename W> W* named(W* w, const char* name, const QString& accessible) {
    w->setObjectName(QLatin1String(name));
    w->setAccessibleName(accessible);
    return w;
}

} // namespace

CalendarSyncBox::CalendarSyncBox(CalDavStore& store, SecretStore& secrets, Dialogs& dialogs,
                                 CalendarSync* sync, QWidget* parent)
    : OptionsGroup(tr("Calendar sync"), parent), m_store(store), m_secrets(secrets),
      m_dialogs(dialogs), m_sync(sync), m_discovery(new CalDavDiscovery(this)) {
    setObjectName(QStringLiteral("CalendarSyncFrame"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);

    m_server = named(new QLineEdit(this), "CalDavServerTB", tr("Server address"));
    m_server->setPlaceholderText(QStringLiteral("https://dav.example.org/"));
    m_user = named(new QLineEdit(this), "CalDavUserTB", tr("User name"));
    m_password = named(new QLineEdit(this), "CalDavPwdTB", tr("Password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_passwordPlace = named(new QLabel(this), "CalDavPwdPlaceLb", tr("Where the password is kept"));
    m_passwordPlace->setTextFormat(Qt::PlainText);
    m_passwordPlace->setWordWrap(true);
    m_find =
        named(new QPushButton(tr("Find calendars"), this), "CalDavFindBtn", tr("Find calendars"));
    m_calendar = named(new QComboBox(this), "CalDavCalendarCb", tr("Calendar"));
    m_create = named(new QPushButton(tr("Create \"Plumora\""), this), "CalDavCreateBtn",
                     tr("Create \"Plumora\""));
    m_every = named(new QComboBox(this), "CalDavEveryCb", tr("Sync"));
    for (const auto& [text, minutes] : Intervals)
        m_every->addItem(tr(text), minutes);
    m_syncNow = named(new QPushButton(tr("Sync now"), this), "CalDavSyncBtn", tr("Sync now"));
    m_cancel = named(new QPushButton(tr("Cancel"), this), "CalDavCancelBtn", tr("Cancel the sync"));
    m_cancel->setVisible(m_sync && m_sync->isRunning());
    m_status = named(new QLabel(this), "CalDavStatusLb", tr("Sync status"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_status->setFocusPolicy(Qt::StrongFocus);

    m_question =
        named(new QLabel(this), "CalDavQuestionLb", tr("Events the server no longer lists"));
    m_question->setTextFormat(Qt::PlainText);
    m_question->setWordWrap(true);
    m_deleteHere = named(new QPushButton(tr("Delete them here too"), this), "CalDavDeleteHereBtn",
                         tr("Delete them here too"));
    m_keepThem = named(new QPushButton(tr("Keep them and send them back"), this), "CalDavKeepBtn",
                       tr("Keep them and send them back"));
    m_restore = named(new QPushButton(this), "CalDavRestoreBtn", tr("Restore deleted events"));

    grid->addWidget(caption(this, tr("Server address:"), m_server), 0, 0);
    grid->addWidget(m_server, 0, 1, 1, 2);
    grid->addWidget(caption(this, tr("User name:"), m_user), 1, 0);
    grid->addWidget(m_user, 1, 1, 1, 2);
    grid->addWidget(caption(this, tr("Password:"), m_password), 2, 0);
    grid->addWidget(m_password, 2, 1);
    grid->addWidget(m_find, 2, 2);
    grid->addWidget(m_passwordPlace, 3, 1, 1, 2);
    grid->addWidget(caption(this, tr("Calendar:"), m_calendar), 4, 0);
    grid->addWidget(m_calendar, 4, 1);
    grid->addWidget(m_create, 4, 2);
    grid->addWidget(caption(this, tr("Sync:"), m_every), 5, 0);
    grid->addWidget(m_every, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_syncNow);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 5, 2);
    grid->addWidget(m_status, 6, 0, 1, 3);
    grid->addWidget(m_question, 7, 0, 1, 3);
    auto* answers = new QHBoxLayout;
    answers->addWidget(m_deleteHere);
    answers->addWidget(m_keepThem);
    answers->addStretch(1);
    answers->addWidget(m_restore);
    grid->addLayout(answers, 8, 0, 1, 3);

    connect(m_find, &QPushButton::clicked, this, &CalendarSyncBox::findCalendars);
    connect(m_create, &QPushButton::clicked, this, &CalendarSyncBox::makePlumora);
    connect(m_syncNow, &QPushButton::clicked, this, &CalendarSyncBox::syncNow);
    connect(m_deleteHere, &QPushButton::clicked, this, [this] { answer(true); });
    connect(m_keepThem, &QPushButton::clicked, this, [this] { answer(false); });
    connect(m_restore, &QPushButton::clicked, this, &CalendarSyncBox::restore);
    connect(m_calendar, &QComboBox::currentIndexChanged, this, [this] { save(); });
    connect(m_every, &QComboBox::currentIndexChanged, this, [this] { save(); });
    // Another server or user: its calendars must be found again.
    for (QLineEdit* e : {m_server, m_user}) {
        connect(e, &QLineEdit::textEdited, this, [this] {
            const QSignalBlocker quiet(m_calendar);
            m_calendar->clear();
        });
        connect(e, &QLineEdit::editingFinished, this, [this] { save(); });
    }
    connect(
        m_discovery, &CalDavDiscovery::found, this,
        [this](const std::vector<DiscoveredCalendar>& calendars, const QString& error) {
            m_find->setEnabled(true);
            if (!error.isEmpty())
                return showStatus(tr("The calendars could not be found: %1").arg(error));
            const std::optional<CalDavAccount> stored = m_store.account();
            {
                const QSignalBlocker quiet(m_calendar);
                m_calendar->clear();
                for (const DiscoveredCalendar& c : calendars)
                    m_calendar->addItem(c.name, c.url);
                const int was = stored ? m_calendar->findData(stored->calendar) : -1;
                m_calendar->setCurrentIndex(was >= 0 ? was : 0);
            }
            m_create->setEnabled(true);
            if (calendars.empty())
                return showStatus(tr("The server has no calendar for events; "
                                     "click Create \"Plumora\" to make one."));
            if (!save())
                return;
            showStatus(
                calendars.size() == 1
                    ? tr("1 calendar found. Pick one and click Sync now.")
                    : tr("%1 calendars found. Pick one and click Sync now.").arg(calendars.size()));
        });
    connect(m_discovery, &CalDavDiscovery::made, this,
            [this](const DiscoveredCalendar& c, const QString& error) {
                m_create->setEnabled(true);
                if (!error.isEmpty())
                    return showStatus(tr("\"Plumora\" could not be made: %1").arg(error));
                int index = m_calendar->findData(c.url);
                if (index < 0) {
                    m_calendar->addItem(c.name, c.url);
                    index = m_calendar->count() - 1;
                }
                {
                    const QSignalBlocker quiet(m_calendar);
                    m_calendar->setCurrentIndex(index);
                }
                if (!save())
                    return;
                showStatus(tr("The calendar \"Plumora\" is ready. Click Sync now."));
            });
    if (m_sync) {
        connect(m_sync, &CalendarSync::started, this, [this] {
            m_cancel->show();
            showStatus(tr("Syncing..."));
        });
        connect(m_sync, &CalendarSync::finished, this, [this] {
            m_cancel->hide();
            showLastSync();
            showWithheld();
        });
        connect(m_cancel, &QPushButton::clicked, m_sync, &CalendarSync::cancel);
    }
    fill();
}

CalendarSyncBox::~CalendarSyncBox() {
    // A focused field would report editingFinished while QWidget tears the children down,
    // when this box is no longer whole: the field's text is saved here instead.
    const bool editing = m_server->hasFocus() || m_user->hasFocus();
    for (QLineEdit* e : {m_server, m_user})
        disconnect(e, nullptr, this, nullptr);
    // No message from a box going away; the failure is logged.
    if (editing)
        save(false);
}

void CalendarSyncBox::fill() {
    m_filling = true;
    const std::optional<CalDavAccount> a = m_store.account();
    const CalDavAccount account = a.value_or(CalDavAccount());
    m_known = account;
    m_server->setText(account.server);
    m_user->setText(account.user);
    m_password->clear();
    showPasswordPlace(!account.password.isEmpty() ? OptionsGroup::KeptInDataFile
                      : account.configured()      ? OptionsGroup::KeptInKeyring
                                                  : "");
    m_calendar->clear();
    if (!account.calendar.isEmpty())
        m_calendar->addItem(account.calendarName.isEmpty() ? account.calendar
                                                           : account.calendarName,
                            account.calendar);
    m_every->setCurrentIndex(qMax(0, m_every->findData(account.everyMinutes)));
    m_create->setEnabled(false);
    showLastSync();
    showWithheld();
    m_filling = false;
}

bool CalendarSyncBox::hasUnsavedInput() const {
    return !m_password->text().isEmpty() || m_server->isModified() || m_user->isModified();
}

bool CalendarSyncBox::follow(const Settings& stored) {
    const CalDavAccount now = m_store.account().value_or(CalDavAccount());
    if (now.server == m_known.server && now.user == m_known.user &&
        now.calendar == m_known.calendar && now.everyMinutes == m_known.everyMinutes) {
        // A status of its own ("3 calendars found ...") stays until a sync has ended.
        if (now.lastSync != m_known.lastSync) {
            m_known.lastSync = now.lastSync;
            showLastSync();
        }
        showWithheld();
        return true;
    }
    return OptionsGroup::follow(stored);
}

QStringList CalendarSyncBox::tables() const {
    return {QStringLiteral("CalDavAccount"), QStringLiteral("CalDavWithheld"),
            QStringLiteral("CalDavKept")};
}

void CalendarSyncBox::showWithheld() {
    const std::optional<CalDavAccount> a = m_store.account();
    const bool asking = a && a->withheld.pending();
    m_question->setText(
        asking
            ? tr("%1 Calendar sync waits for your answer.").arg(CalDavSync::question(a->withheld))
            : QString());
    m_question->setAccessibleDescription(m_question->text());
    for (QWidget* w : {static_cast<QWidget*>(m_question), static_cast<QWidget*>(m_deleteHere),
                       static_cast<QWidget*>(m_keepThem)})
        w->setVisible(asking);
    const KeptCopy kept = m_store.keptCopy();
    m_restore->setText(
        kept.events == 1
            ? tr("Restore the event deleted on %1")
                  .arg(QLocale().toString(kept.at.toLocalTime(), QLocale::ShortFormat))
            : tr("Restore the %1 events deleted on %2")
                  .arg(kept.events)
                  .arg(QLocale().toString(kept.at.toLocalTime(), QLocale::ShortFormat)));
    m_restore->setAccessibleName(m_restore->text());
    m_restore->setVisible(kept.events > 0 && m_sync);
}

void CalendarSyncBox::answer(bool deleteHere) {
    CalendarSync* sync = m_sync;
    if (!sync)
        return showStatus(tr("Calendar sync is not available in this window."));
    if (!sync->answer(deleteHere ? Withheld::Answer::Delete : Withheld::Answer::Keep))
        return showStatus(tr("The answer could not be saved: %1").arg(m_store.lastError()));
    showWithheld();
    showLastSync();
}

void CalendarSyncBox::restore() {
    CalendarSync* sync = m_sync;
    if (!sync)
        return;
    const int events = sync->restoreKept();
    if (events < 0)
        return showStatus(
            tr("The deleted events could not be restored: %1").arg(m_store.lastError()));
    showWithheld();
    if (!sync->isRunning())
        showStatus(events == 1 ? tr("1 event restored.") : tr("%1 events restored.").arg(events));
}

void CalendarSyncBox::showStatus(const QString& text) {
    if (text == m_status->text())
        return;
    m_status->setText(text);
    m_status->setAccessibleDescription(text);
    // It may need more or fewer lines.
    Q_EMIT contentResized();
}

void CalendarSyncBox::showLastSync() {
    const std::optional<CalDavAccount> a = m_store.account();
    if (m_sync && m_sync->isRunning())
        return showStatus(tr("Syncing..."));
    if (!a || !a->lastSync.isValid())
        return showStatus(a && a->configured() ? tr("Not synced yet.") : tr("Not set up."));
    const auto when = [](const QDateTime& at) {
        return QLocale().toString(at.toLocalTime(), QLocale::ShortFormat);
    };
    const QString lastSync = a->lastSuccess.isValid()
                                 ? tr("Last sync: %1.").arg(when(a->lastSuccess))
                                 : tr("No sync has worked yet.");
    if (a->lastSuccess == a->lastSync)
        return showStatus(tr("Last sync: %1. %2.").arg(when(a->lastSync), a->lastResult));
    // A failure's text begins "Stopped: ", in English whatever the language: the reason
    // after it is shown.
    QString why = a->lastResult;
    if (const qsizetype colon = why.indexOf(u':'); why.startsWith(u"Stopped") && colon > 0)
        why = why.mid(colon + 1).trimmed();
    showStatus(tr("Last attempt %1: %2. %3").arg(when(a->lastSync), why, lastSync));
}

void CalendarSyncBox::findCalendars() {
    const QString typed = m_password->text();
    m_find->setEnabled(false);
    showStatus(tr("Looking for calendars..."));
    if (!typed.isEmpty())
        return storePassword(typed, [this, typed] { discoverWith(typed); });
    const std::optional<CalDavAccount> stored = m_store.account();
    if (stored && !stored->password.isEmpty())
        return discoverWith(stored->password);
    m_secrets.read(QLatin1String(CalendarSync::Key), this, [this](const SecretStore::Result& r) {
        if (r.status == SecretStore::Status::Done)
            return discoverWith(r.secret);
        m_find->setEnabled(true);
        showStatus(r.status == SecretStore::Status::Cancelled
                       ? tr("The keyring's prompt was cancelled: the stored password could not "
                            "be read.")
                       : tr("Type the password first."));
    });
}

void CalendarSyncBox::storePassword(const QString& typed, std::function<void()> then) {
    m_secrets.write(QLatin1String(CalendarSync::Key), typed, this,
                    [this, typed, then = std::move(then)](const SecretStore::Result& r) {
                        if (r.status == SecretStore::Status::Cancelled) {
                            // A keyring runs: the password waits in the field for the next
                            // click rather than going to the data file.
                            m_find->setEnabled(true);
                            showStatus(tr("The keyring's prompt was cancelled: the password "
                                          "was not stored."));
                            return;
                        }
                        const bool inKeyring = r.status == SecretStore::Status::Done;
                        // No keyring: the password stays in the data file until one is reachable.
                        // In the keyring: a copy left in the file would be used before it, so it
                        // goes.
                        const std::optional<CalDavAccount> stored = m_store.account();
                        const bool write = !inKeyring || !stored || !stored->password.isEmpty();
                        if (write && !m_store.savePassword(inKeyring ? QString() : typed)) {
                            m_find->setEnabled(true);
                            showStatus(
                                tr("The password could not be saved: %1").arg(m_store.lastError()));
                            return;
                        }
                        m_password->clear();
                        showPasswordPlace(inKeyring ? OptionsGroup::KeptInKeyring
                                                    : OptionsGroup::KeptInDataFile);
                        then();
                    });
}

void CalendarSyncBox::showPasswordPlace(const char* text) {
    m_passwordPlace->setText(*text != 0 ? OptionsGroup::tr(text) : QString());
    m_passwordPlace->setVisible(*text != 0);
}

void CalendarSyncBox::discoverWith(const QString& password) {
    m_discovery->discover(m_server->text(), m_user->text(), password);
}

void CalendarSyncBox::makePlumora() {
    m_create->setEnabled(false);
    showStatus(tr("Making the calendar \"Plumora\"..."));
    m_discovery->makeCalendar();
}

bool CalendarSyncBox::save(bool speak) {
    if (m_filling)
        return true;
    CalDavAccount a;
    a.server = m_server->text().trimmed();
    a.user = m_user->text();
    a.calendar = m_calendar->currentData().toString();
    a.calendarName = m_calendar->currentText();
    a.everyMinutes = m_every->currentData().toInt();
    CalDavStore& store = m_store;
    if (store.saveAccount(a)) {
        m_known.server = a.server;
        m_known.user = a.user;
        m_known.calendar = a.calendar;
        m_known.everyMinutes = a.everyMinutes;
        m_server->setModified(false);
        m_user->setModified(false);
        return true;
    }
    showStatus(tr("The account could not be saved: %1").arg(store.lastError()));
    if (speak && !m_telling) {
        m_telling = true;
        ToolPage::tell(m_dialogs, SaveFailures::failedText(tr("The calendar sync account"),
                                                           store.dataFile(), store.lastError()));
        m_telling = false;
    }
    return false;
}

void CalendarSyncBox::syncNow() {
    if (m_calendar->currentData().toString().isEmpty())
        return showStatus(tr("Find the calendars and pick one first."));
    if (!save())
        return;
    if (!m_sync)
        return showStatus(tr("Calendar sync is not available in this window."));
    if (m_sync->isRunning())
        return showStatus(tr("A sync is already running."));
    const std::optional<CalDavAccount> stored = m_store.account();
    if (stored && stored->withheld.pending())
        return showStatus(tr("Answer the question below first: calendar sync waits for it."));
    const auto start = [this] {
        if (!m_sync->syncNow(CalendarSync::Origin::User))
            showStatus(tr("The sync could not start: the account is incomplete."));
    };
    const QString typed = m_password->text();
    if (typed.isEmpty())
        return start();
    // A password typed anew is stored first.
    storePassword(typed, start);
}
