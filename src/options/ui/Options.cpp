// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/ui/Options.h"

#include "base/Log.h"
#include "data/ChangeHub.h"
#include "data/DataBackup.h"
#include "data/SaveFailures.h"
#include "mail/MailCheckState.h"
#include "mail/MailPassword.h"
#include "options/SoundChoice.h"
#include "options/ui/CalendarSyncBox.h"
#include "options/ui/MailAccountBox.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "platform/MailClient.h"
#include "shell/Twips.h"
#include "shell/ui/ChimePlayer.h"
#include "shell/ui/ToolRegistry.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using Field = Settings::Field;

// Room left around the outer frame on each side.
constexpr int Margin = 255 / Twips::PerPixel;
// The country boxes stand under the international one, indented.
constexpr int CountryIndent = 20;

QSpinBox* upDown(QWidget* parent, const char* name, int minimum, int maximum, int step, int initial,
                 const QString& accessibleName) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    box->setValue(initial);
    // Typed digits count once the box is left or Enter is pressed, not at every keystroke.
    box->setKeyboardTracking(false);
    box->setAccessibleName(accessibleName);
    return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(text);
    return box;
}

QLabel* text(QWidget* parent, const QString& caption, QWidget* buddy = nullptr) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace

Options::Options(AppContext& context, QWidget* parent)
    : ToolPage(parent), m_context(context),
      m_autostart(Autostart::forUser(QStringLiteral(PLUMORA_APP_ID),
                                     QCoreApplication::applicationFilePath())) {
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(QStringLiteral("Options"));
    chooseSoundFileHook = [this](const QString& path) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Please select a sounds file:"),
                                            path, QStringLiteral("Sounds (*.wav)"));
    };
    auto* player =
        new ChimePlayer(m_context.paths.helperProgram(QStringLiteral("libplumora_sound.so")), this);
    playSoundHook = [player](const QString& path) { player->play(path); };
    buildControls();
    fill();
}

void Options::buildControls() {
    m_outer = new QScrollArea(this);
    m_outer->setObjectName(QStringLiteral("OuterFrame"));
    m_outer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_outer->setBackgroundRole(QPalette::Window);
    // Tab goes straight to the controls; the area scrolls to the one that has the focus.
    m_outer->setFocusPolicy(Qt::NoFocus);
    m_frame = new QWidget;
    m_frame->setObjectName(QStringLiteral("OptionsFrame"));
    auto* column = new QVBoxLayout(m_frame);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(8);

    // Events Option
    auto* events = new QGroupBox(QStringLiteral("Events Option"), m_frame);
    events->setObjectName(QStringLiteral("EventsFrame"));
    auto* grid = new QGridLayout(events);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(2, 1);
    m_notifyAgo = upDown(events, "NotifyAgoUD", 1, 30, 1, 1,
                         QStringLiteral("Show reminder, day(s) ahead for Calendar events"));
    grid->addWidget(text(events, QStringLiteral("Show reminder"), m_notifyAgo), 0, 0);
    grid->addWidget(m_notifyAgo, 0, 1);
    grid->addWidget(text(events, QStringLiteral("day(s) ahead for Calendar events")), 0, 2);
    m_showEvery = upDown(events, "ShowEveryUD", 10, 360, 10, 60,
                         QStringLiteral("Reminder popup every, minutes"));
    grid->addWidget(text(events, QStringLiteral("Reminder popup every"), m_showEvery), 1, 0);
    grid->addWidget(m_showEvery, 1, 1);
    grid->addWidget(text(events, QStringLiteral("minutes")), 1, 2);
    m_wav = new QPushButton(events);
    m_wav->setObjectName(QStringLiteral("WavCmd"));
    grid->addWidget(text(events, QStringLiteral("Reminder sound:"), m_wav), 2, 0);
    m_playWav = new QPushButton(QStringLiteral("Play"), events);
    m_playWav->setObjectName(QStringLiteral("PlayWavCmd"));
    m_playWav->setAccessibleName(QStringLiteral("Play the reminder sound"));
    auto* sound = new QHBoxLayout;
    sound->addWidget(m_wav);
    sound->addWidget(m_playWav);
    sound->addStretch(1);
    grid->addLayout(sound, 2, 1, 1, 2);
    m_largeIcon =
        checkBox(events, "LargeIconChk", QStringLiteral("Display small icons in Calendar"));
    grid->addWidget(m_largeIcon, 3, 0, 1, 3);
    m_addHolidays = checkBox(events, "AddHolidaysChk",
                             QStringLiteral("Add international holidays / events to Calendar"));
    grid->addWidget(m_addHolidays, 4, 0, 1, 3);
    m_addAmerica =
        checkBox(events, "AddAmericaChk", QStringLiteral("Include USA holidays / events"));
    m_addCanada =
        checkBox(events, "AddCanadaChk", QStringLiteral("Include Canada holidays / events"));
    for (int i = 0; QCheckBox * country : {m_addAmerica, m_addCanada}) {
        auto* indented = new QHBoxLayout;
        indented->setContentsMargins(CountryIndent, 0, 0, 0);
        indented->addWidget(country);
        grid->addLayout(indented, 5 + i++, 0, 1, 3);
    }
    column->addWidget(events);

    // The mail program's group: "Thunderbird E-mail", or "E-mail" for another program.
    const MailProgram program = m_context.mail.program();
    auto* mail =
        new QGroupBox(program.isThunderbird ? program.displayName + QStringLiteral(" E-mail")
                                            : QStringLiteral("E-mail"),
                      m_frame);
    mail->setObjectName(QStringLiteral("EmailFrame"));
    grid = new QGridLayout(mail);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(2, 1);
    m_chkEmail = checkBox(mail, "ChkEmailChk", QStringLiteral("Check e-mail every"));
    m_checkMailMin =
        upDown(mail, "CheckMailUD", 2, 60, 1, 2, QStringLiteral("Check e-mail every, minutes"));
    m_checkMailLb = text(mail, QStringLiteral("minutes"), m_checkMailMin);
    m_checkMailLb->setObjectName(QStringLiteral("CheckMailLB"));
    grid->addWidget(m_chkEmail, 0, 0);
    grid->addWidget(m_checkMailMin, 0, 1);
    grid->addWidget(m_checkMailLb, 0, 2);
    m_user = new QLineEdit(mail);
    m_user->setObjectName(QStringLiteral("OEUserTB"));
    m_user->setAccessibleName(QStringLiteral("Default mail Account"));
    m_userLb = text(mail, QStringLiteral("Default mail Account:"), m_user);
    grid->addWidget(m_userLb, 1, 0);
    grid->addWidget(m_user, 1, 1, 1, 2);
    m_password = new QLineEdit(mail);
    m_password->setObjectName(QStringLiteral("OEPwdTB"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setAccessibleName(QStringLiteral("Account password"));
    m_passwordLb = text(mail, QStringLiteral("Account password:"), m_password);
    grid->addWidget(m_passwordLb, 2, 0);
    grid->addWidget(m_password, 2, 1, 1, 2);
    m_account = new MailAccountBox(mail);
    grid->addWidget(m_account, 3, 0, 1, 3);
    m_mailPassword = new MailPassword(m_context.stores.settings, m_context.secrets, this);
    connect(m_account, &MailAccountBox::checkNowClicked, this, &Options::checkMailNow);
    column->addWidget(mail);

    // Backup Data
    auto* backupBox = new QGroupBox(QStringLiteral("Backup Data"), m_frame);
    backupBox->setObjectName(QStringLiteral("BackupFrame"));
    auto* row = new QHBoxLayout(backupBox);
    const QString captions[] = {QStringLiteral("Backup data to ..."),
                                QStringLiteral("Restore data from ...")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(captions[i], backupBox);
        button->setObjectName(QStringLiteral("BkRsBtn"));
        button->setProperty("index", i);
        button->setAccessibleName(captions[i]);
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, i == 0 ? &Options::backup : &Options::restore);
    }
    row->addStretch(1);
    column->addWidget(backupBox);

    // Where the data lives, and whether Plumora starts with the session.
    auto* startBox = new QGroupBox(QStringLiteral("Plumora"), m_frame);
    startBox->setObjectName(QStringLiteral("StartFrame"));
    auto* startColumn = new QVBoxLayout(startBox);
    m_autostartChk =
        checkBox(startBox, "AutostartChk", QStringLiteral("Start Plumora when I log in"));
    startColumn->addWidget(m_autostartChk);
    m_dataPath = new QLabel(startBox);
    m_dataPath->setObjectName(QStringLiteral("DataPathLb"));
    m_dataPath->setTextFormat(Qt::PlainText);
    m_dataPath->setWordWrap(true);
    m_dataPath->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_dataPath->setFocusPolicy(Qt::StrongFocus);
    m_dataPath->setAccessibleName(QStringLiteral("Data file"));
    startColumn->addWidget(m_dataPath);
    column->addWidget(startBox);
    connect(m_autostartChk, &QCheckBox::toggled, this, [this](bool on) {
        if (m_filling || m_autostart.setEnabled(on))
            return;
        inform(QStringLiteral("The login start of Plumora could not be changed: %1 cannot be "
                              "written.")
                   .arg(m_autostart.entryPath()));
        const QSignalBlocker quiet(m_autostartChk);
        m_autostartChk->setChecked(m_autostart.isEnabled());
    });

    // The three number boxes line up at the width the widest value needs.
    for (QSpinBox* box : {m_notifyAgo, m_showEvery, m_checkMailMin})
        box->setMinimumWidth(m_showEvery->sizeHint().width());
    m_frame->adjustSize();
    m_outer->setWidget(m_frame);
    orderTabs();

    connect(m_notifyAgo, &QSpinBox::valueChanged, this, [this](int v) {
        m_values.notifyAgo = v;
        saveSystemValue(Field::NotifyAgo);
    });
    connect(m_showEvery, &QSpinBox::valueChanged, this, [this](int v) {
        m_values.showEvery = v;
        saveSystemValue(Field::ShowEvery);
    });
    connect(m_checkMailMin, &QSpinBox::valueChanged, this, [this](int v) {
        m_values.checkMailMinutes = v;
        saveSystemValue(Field::CheckMailMinutes);
    });
    connect(m_wav, &QPushButton::clicked, this, &Options::chooseSound);
    connect(m_playWav, &QPushButton::clicked, this, [this] {
        if (playSoundHook)
            playSoundHook(m_soundPath);
    });
    connect(m_largeIcon, &QCheckBox::toggled, this, [this](bool on) {
        m_values.smallIcons = on ? -1 : 0;
        saveSystemValue(Field::SmallIcons);
    });
    connect(m_addHolidays, &QCheckBox::toggled, this, [this](bool on) {
        m_addAmerica->setEnabled(on);
        m_addCanada->setEnabled(on);
        if (!on) {
            // Both country lists go with the international one, and both are written.
            for (QCheckBox* country : {m_addAmerica, m_addCanada}) {
                const QSignalBlocker quiet(country);
                country->setChecked(false);
            }
            m_values.addAmerica = m_values.addCanada = false;
            saveSystemValue(Field::AddAmerica);
            saveSystemValue(Field::AddCanada);
        }
        m_values.addHolidays = on;
        saveSystemValue(Field::AddHolidays);
    });
    connect(m_addAmerica, &QCheckBox::toggled, this,
            [this](bool on) { countryToggled(m_addAmerica, m_addCanada, on); });
    connect(m_addCanada, &QCheckBox::toggled, this,
            [this](bool on) { countryToggled(m_addCanada, m_addAmerica, on); });
    connect(m_chkEmail, &QCheckBox::toggled, this, [this](bool on) {
        setMailEnabled(on);
        m_values.checkMail = on;
        saveSystemValue(Field::CheckMail);
    });
    // Typed, pasted or set by a screen reader: any change but the page's own filling.
    connect(m_user, &QLineEdit::textChanged, this, [this] { m_userEdited |= !m_filling; });
    connect(m_password, &QLineEdit::textChanged, this, [this] { m_passwordEdited |= !m_filling; });
    // A typed password goes to the keyring as soon as the user leaves the field.
    connect(m_password, &QLineEdit::editingFinished, this, [this] {
        if (m_passwordEdited)
            storePassword();
    });
}

void Options::setAutostart(const Autostart& autostart) {
    m_autostart = autostart;
    fill();
}

void Options::fill() {
    m_filling = true;
    if (const std::optional<Settings> stored = m_context.stores.settings.load())
        m_values = *stored;
    else
        qCWarning(lcData) << "Options could not read the settings";

    m_notifyAgo->setValue(m_values.notifyAgo);
    m_showEvery->setValue(m_values.showEvery);
    // The mail interval box starts from the stored interval too, so that its first step
    // goes on from the number shown.
    m_checkMailMin->setValue(m_values.checkMailMinutes);
    m_largeIcon->setChecked(m_values.smallIcons != 0);
    m_addHolidays->setChecked(m_values.addHolidays);
    m_addAmerica->setChecked(m_values.addAmerica);
    m_addCanada->setChecked(m_values.addCanada);
    m_chkEmail->setChecked(m_values.checkMail);

    m_soundPath = SoundChoice::current(m_context.paths, m_values.reminderSound);
    m_wav->setText(SoundChoice::caption(m_soundPath));
    m_wav->setAccessibleName(QStringLiteral("Reminder sound: ") + m_wav->text());

    m_user->setText(m_values.mailUser);
    // A password on its way to the keyring stays as typed until it has arrived.
    if (m_passwordStores == 0)
        m_password->setText(m_values.mailPassword);
    m_userEdited = m_passwordEdited = false;
    m_account->fill(m_values);

    m_addAmerica->setEnabled(m_addHolidays->isChecked());
    m_addCanada->setEnabled(m_addHolidays->isChecked());
    setMailEnabled(m_chkEmail->isChecked());
    m_autostartChk->setChecked(m_autostart.isEnabled());
    m_dataPath->setText(QStringLiteral("Data file: ") +
                        QDir::toNativeSeparators(m_context.paths.dataFile()));
    // Read out whole: the name alone would hide the path.
    m_dataPath->setAccessibleName(m_dataPath->text());
    m_filling = false;
}

void Options::addCalendarSync(CalendarSync* sync) {
    if (m_calendarSync)
        return;
    m_calendarSync = new CalendarSyncBox(m_context.stores.calDav, m_context.secrets,
                                         m_context.dialogs, sync, m_frame);
    // After the mail group.
    auto* column = static_cast<QVBoxLayout*>(m_frame->layout());
    column->insertWidget(column->indexOf(m_account->parentWidget()) + 1, m_calendarSync);
    // The frame was sized for its groups without this one: without growing, the layout
    // squeezes the other groups' rows into each other.
    m_calendarSync->show();
    column->activate();
    m_frame->resize(m_frame->sizeHint());
    // Its status line wraps to as many lines as a message needs: the frame grows with it.
    connect(m_calendarSync, &CalendarSyncBox::statusShown, this, [this] {
        // The group first, so the frame's layout asks it anew.
        m_calendarSync->layout()->activate();
        m_frame->layout()->activate();
        m_frame->resize(m_frame->width(),
                        std::max(m_frame->sizeHint().height(),
                                 m_frame->layout()->totalHeightForWidth(m_frame->width())));
    });
    orderTabs();
}

void Options::orderTabs() {
    // The frame's part of the window's focus chain as it is now: creation order.
    QList<QWidget*> chain;
    for (QWidget* w = m_frame->nextInFocusChain(); w && w != m_frame && !chain.contains(w);
         w = w->nextInFocusChain())
        if (m_frame->isAncestorOf(w))
            chain << w;
    // Each control once (a spin box's or a combo box's own line edit stands for it).
    QWidget* previous = nullptr;
    const auto* column = static_cast<QVBoxLayout*>(m_frame->layout());
    for (int i = 0; i < column->count(); ++i) {
        const QWidget* group = column->itemAt(i)->widget();
        if (!group)
            continue;
        for (QWidget* w : std::as_const(chain)) {
            if (!group->isAncestorOf(w) || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus))
                continue;
            if (previous)
                QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
}

void Options::saveSystemValue(Settings::Field field) {
    saveFields({field});
}

bool Options::saveFields(const QList<Settings::Field>& fields, bool speak) {
    if (m_filling)
        return true;
    QList<Settings::Field> all = m_unsaved;
    for (Settings::Field field : fields) {
        if (!all.contains(field))
            all << field;
    }
    if (all.isEmpty())
        return true;
    const SettingsStore& store = m_context.stores.settings;
    const bool saved = store.update([&](Settings& s) {
        for (Settings::Field field : std::as_const(all))
            s.copyField(field, m_values);
    });
    if (!saved) {
        // The controls keep what the user chose; the next write tries these again.
        m_unsaved = all;
        m_saveError = store.lastError();
        qCWarning(lcData) << "Options could not write their settings:" << m_saveError;
        if (speak && !m_givenUp)
            ToolPage::tell(m_context.dialogs, saveFailure());
        return false;
    }
    m_unsaved.clear();
    for (Settings::Field field : std::as_const(all))
        Q_EMIT settingSaved(field);
    return true;
}

QString Options::saveFailure() const {
    return SaveFailures::failedText(QStringLiteral("The options"), m_context.paths.dataFile(),
                                    m_saveError);
}

void Options::countryToggled(QCheckBox* box, QCheckBox* other, bool on) {
    // At most one of the two country lists: the other one goes (and writes its 0) first.
    if (on && other->isChecked())
        other->setChecked(false);
    const bool america = box == m_addAmerica;
    (america ? m_values.addAmerica : m_values.addCanada) = on;
    saveSystemValue(america ? Field::AddAmerica : Field::AddCanada);
}

void Options::setMailEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_checkMailMin, m_checkMailLb, m_userLb,
                                                      m_user, m_passwordLb, m_password, m_account})
        w->setEnabled(on);
}

bool Options::saveAccount(bool speak, bool unloading) {
    QList<Settings::Field> fields = m_account->collect(m_values);
    if (m_userEdited) {
        m_userEdited = false;
        m_values.mailUser = m_user->text();
        fields << Field::MailUser;
    }
    if ((m_passwordEdited || m_passwordStores > 0) && unloading) {
        // No keyring answer may come before the end: the next start moves it there.
        m_passwordEdited = false;
        m_values.mailPassword = m_password->text();
        m_values.mailPasswordInKeyring = false;
        fields << Field::MailPassword << Field::MailPasswordInKeyring;
    }
    const bool saved = saveFields(fields, speak);
    if (m_passwordEdited)
        storePassword();
    return saved;
}

void Options::storePassword() {
    m_passwordEdited = false;
    const QString typed = m_password->text();
    ++m_passwordStores;
    m_mailPassword->store(typed, this, [this, typed](MailPassword::Place place) {
        m_passwordStores = 0; // only the last store answers
        if (place == MailPassword::Place::Unsaved) {
            m_saveError = m_context.stores.settings.lastError();
            ToolPage::tell(m_context.dialogs, saveFailure());
            m_checkAfterStore = false;
            return;
        }
        m_values.mailPassword = place == MailPassword::Place::DataFile ? typed : QString();
        m_values.mailPasswordInKeyring = place == MailPassword::Place::Keyring;
        m_account->showPasswordPlace(
            place == MailPassword::Place::Keyring    ? QLatin1String(MailAccountBox::KeptInKeyring)
            : place == MailPassword::Place::DataFile ? QLatin1String(MailAccountBox::KeptInDataFile)
                                                     : QString());
        // Kept in the keyring, it is no longer shown; a box typed in meanwhile keeps its text.
        if (!m_passwordEdited) {
            const QSignalBlocker quiet(m_password);
            m_password->setText(m_values.mailPassword);
        }
        Q_EMIT settingSaved(Field::MailPassword);
        if (std::exchange(m_checkAfterStore, false))
            checkMailNow();
    });
}

void Options::setMailState(MailCheckState* state) {
    m_mailState = state;
    connect(state, &MailCheckState::changed, this, &Options::showMailStatus);
    showMailStatus();
}

void Options::showMailStatus() {
    m_account->showStatus(m_mailState ? m_mailState->line() : QString());
}

void Options::checkMailNow() {
    // What was typed is what the check uses.
    saveAccount();
    if (m_passwordStores > 0) {
        m_checkAfterStore = true;
        m_account->showStatus(QStringLiteral("Storing the password..."));
        return;
    }
    if (!m_mailState || !m_mailState->checkNow)
        return;
    m_account->showStatus(m_mailState->checkNow() ? QStringLiteral("Checking...")
                                                  : QStringLiteral("A check is running; its "
                                                                   "result follows here."));
}

void Options::activated() {
    // Other windows may have changed settings since this page was last shown. Chosen again
    // while it is showing, it keeps what was typed before reading the file again, and
    // shows it still when it could not be written.
    if (saveAccount())
        fill();
    if (m_calendarSync)
        m_calendarSync->fill();
}

void Options::aboutToHide() {
    saveAccount();
}

bool Options::keepForUnload(QString* failure) {
    if (saveAccount(false, true))
        return true;
    *failure = saveFailure();
    return false;
}

void Options::giveUpUnsaved() {
    m_givenUp = true;
    m_unsaved.clear();
}

void Options::chooseSound() {
    const QString chosen = chooseSoundFileHook ? chooseSoundFileHook(m_soundPath) : QString();
    if (chosen.isEmpty())
        return;
    if (QString why; !SoundChoice::install(m_context.paths, chosen, &why)) {
        inform(QStringLiteral("The sound file '") + chosen +
               QStringLiteral("' could not be used: ") + why +
               QStringLiteral(". The reminder keeps its sound."));
        return;
    }
    m_soundPath = chosen;
    m_wav->setText(SoundChoice::caption(chosen));
    m_wav->setAccessibleName(QStringLiteral("Reminder sound: ") + m_wav->text());
    m_values.reminderSound = chosen;
    saveSystemValue(Field::ReminderSound);
}

QString Options::pickFolder() {
    return m_context.dialogs.browseForFolder(
        window(), m_context.shell.specialFolderPath(SpecialFolder::Documents));
}

void Options::inform(const QString& message) {
    m_context.dialogs.messageBox(message, QLatin1String(DataBackup::MessageTitle),
                                 MessageButtons::Ok, MessageIcon::Information);
}

void Options::keepOtherTools() {
    if (!keepToolHook)
        return;
    for (int button : std::as_const(toolButtons))
        keepToolHook(button);
}

void Options::backup() {
    const QString folder = pickFolder();
    if (folder.isEmpty())
        return;
    // What the other tools and this page hold unsaved goes into the backup.
    saveAccount();
    keepOtherTools();
    const DataBackup::Result result = DataBackup::backup(m_context.paths.dataFile(), folder);
    inform(DataBackup::backupMessage(result, folder));
}

void Options::restore() {
    const QString folder = pickFolder();
    if (folder.isEmpty())
        return;
    // What the tools hold unsaved goes into the file being replaced; once it is replaced
    // they read the restored one again.
    keepOtherTools();
    DataBackup::RestoreDetails details;
    const DataBackup::Result found =
        DataBackup::checkRestoreSource(m_context.stores.schema, folder, &details);
    if (found != DataBackup::Result::Done) {
        inform(DataBackup::restoreMessage(found, folder, details));
        return;
    }
    const MessageAnswer answer = m_context.dialogs.messageBox(
        QLatin1String(DataBackup::RestoreConfirmText), QLatin1String(DataBackup::ConfirmTitle),
        MessageButtons::YesNoDefaultNo, MessageIcon::Information);
    if (answer != MessageAnswer::Yes)
        return;
    const DataBackup::Result result =
        DataBackup::restore(m_context.stores.schema, folder, m_context.paths.dataFile(), &details);
    inform(DataBackup::restoreMessage(result, folder, details));
    // The page shows the restored settings; what was typed before belongs to the old file.
    if (result == DataBackup::Result::Done) {
        fill();
        m_context.stores.changes.announceAll();
    }
}

void Options::hostResized() {
    layOut();
}

void Options::resizeEvent(QResizeEvent* event) {
    ToolPage::resizeEvent(event);
    layOut();
}

void Options::layOut() {
    // The outer frame takes the page less a margin all round, the options frame stays
    // centred at its top; a page too small for it scrolls.
    QRect outer = m_outer->geometry();
    if (width() > 2 * Margin)
        outer.setWidth(width() - 2 * Margin);
    if (height() > 2 * Margin)
        outer.setHeight(height() - 2 * Margin);
    outer.moveTopLeft(QPoint(Margin, Margin));
    m_outer->setGeometry(outer);
}

OptionsTool::OptionsTool(const ToolRegistry& tools, AppContext& context,
                         std::function<void(int)> keepTool)
    : m_tools(tools), m_context(context), m_keepTool(std::move(keepTool)) {}

Options* OptionsTool::makePage(QWidget* parent) {
    auto* page = new Options(m_context, parent);
    page->keepToolHook = m_keepTool;
    // Every tool but Options itself.
    page->toolButtons = m_tools.toolButtons();
    page->toolButtons.removeAll(m_tools.buttonOf(QStringLiteral("Options")));
    if (m_calendarSync)
        page->addCalendarSync(m_calendarSync);
    if (m_mailState)
        page->setMailState(m_mailState);
    return page;
}
