// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/MailOptionsGroup.h"

#include "data/SaveFailures.h"
#include "mail/MailCheckState.h"
#include "mail/MailPassword.h"
#include "mail/OnlineMailSignIn.h"
#include "mail/ui/MailAccountBox.h"
#include "platform/MailClient.h"
#include "platform/OnlineAccounts.h"
#include "shell/AppContext.h"
#include "shell/ui/ToolPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

using Field = Settings::Field;

namespace {
// The e-mail address of an entry of GNOME Online Accounts in the sign-in box.
constexpr int AddressRole = Qt::UserRole + 1;
} // namespace

MailOptionsGroup::MailOptionsGroup(AppContext& context, MailCheckState* state, QWidget* parent)
    : OptionsGroup(parent), m_context(context), m_state(state) {
    const MailProgram program = m_context.mail.program();
    setTitle(program.isThunderbird ? tr("%1 E-mail").arg(program.displayName) : tr("E-mail"));
    setObjectName(QStringLiteral("EmailFrame"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(2, 1);
    m_chkEmail = checkBox(this, "ChkEmailChk", tr("Check e-mail every"));
    m_checkMailMin = numberBox(this, "CheckMailUD", 2, 60, 1, 2, tr("Check e-mail every, minutes"));
    m_checkMailLb = caption(this, tr("minutes"), m_checkMailMin);
    m_checkMailLb->setObjectName(QStringLiteral("CheckMailLB"));
    grid->addWidget(m_chkEmail, 0, 0);
    grid->addWidget(m_checkMailMin, 0, 1);
    grid->addWidget(m_checkMailLb, 0, 2);
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("OEUserTB"));
    m_user->setAccessibleName(tr("Default mail Account"));
    m_userLb = caption(this, tr("Default mail Account:"), m_user);
    grid->addWidget(m_userLb, 3, 0);
    grid->addWidget(m_user, 3, 1, 1, 2);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("OEPwdTB"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setAccessibleName(tr("Account password"));
    m_passwordLb = caption(this, tr("Account password:"), m_password);
    grid->addWidget(m_passwordLb, 4, 0);
    grid->addWidget(m_password, 4, 1, 1, 2);
    m_account = new MailAccountBox(this);
    grid->addWidget(m_account, 5, 0, 1, 3);
    m_mailPassword = new MailPassword(m_context.stores.settings, m_context.secrets, this);
    m_online = new OnlineMailSignIn(m_context.onlineAccounts, m_context.registry, this);
    m_signIn = new QComboBox(this);
    m_signIn->setObjectName(QStringLiteral("MailSignInCb"));
    m_signIn->setAccessibleName(tr("Sign in with"));
    m_signInLb = caption(this, tr("Sign in with:"), m_signIn);
    m_onlineNote = new QLabel(this);
    m_onlineNote->setObjectName(QStringLiteral("MailOnlineLb"));
    m_onlineNote->setTextFormat(Qt::PlainText);
    m_onlineNote->setWordWrap(true);
    grid->addWidget(m_signInLb, 1, 0);
    grid->addWidget(m_signIn, 1, 1, 1, 2);
    grid->addWidget(m_onlineNote, 2, 0, 1, 3);
    // The keyboard goes through the rows as they stand.
    setTabOrder(m_checkMailMin, m_signIn);
    setTabOrder(m_signIn, m_user);
    fillOnlineAccounts();
    connect(m_signIn, &QComboBox::activated, this, &MailOptionsGroup::onlineChosen);

    connect(m_account, &MailAccountBox::checkNowClicked, this, &MailOptionsGroup::checkMailNow);
    connect(m_chkEmail, &QCheckBox::toggled, this, [this](bool on) {
        setMailEnabled(on);
        if (m_filling)
            return;
        m_changed << Field::CheckMail;
        Q_EMIT inputChanged();
    });
    connect(m_checkMailMin, &QSpinBox::valueChanged, this, [this] {
        if (m_filling)
            return;
        m_changed << Field::CheckMailMinutes;
        Q_EMIT inputChanged();
    });
    // Typed, pasted or set by a screen reader: any change but the group's own filling.
    connect(m_user, &QLineEdit::textChanged, this, [this] { m_userEdited |= !m_filling; });
    connect(m_password, &QLineEdit::textChanged, this, [this] { m_passwordEdited |= !m_filling; });
    // A typed password goes to the keyring as soon as the user leaves the field.
    connect(m_password, &QLineEdit::editingFinished, this, [this] {
        if (m_passwordEdited)
            storePassword();
    });
    if (m_state)
        connect(m_state, &MailCheckState::changed, this, &MailOptionsGroup::showMailStatus);
    showMailStatus();
}

void MailOptionsGroup::fillOnlineAccounts() {
    m_signIn->clear();
    m_signIn->addItem(tr("The account and password above"), QString());
    const bool available = m_context.onlineAccounts.available();
    const QString chosen = m_online->chosen();
    if (available) {
        const QList<OnlineMailAccount> accounts =
            m_context.onlineAccounts.mailAccounts().value_or(QList<OnlineMailAccount>());
        for (const OnlineMailAccount& a : accounts) {
            m_signIn->addItem(tr("%1 (GNOME Online Accounts)").arg(a.emailAddress), a.id);
            // Matched by the address itself: the entry's wording depends on the language.
            m_signIn->setItemData(m_signIn->count() - 1, a.emailAddress, AddressRole);
        }
    }
    // A chosen account the service no longer has stays visible as such.
    if (!chosen.isEmpty() && m_signIn->findData(chosen) < 0)
        m_signIn->addItem(tr("An account no longer in GNOME Online Accounts"), chosen);
    m_signIn->setCurrentIndex(std::max(0, m_signIn->findData(chosen)));
    const bool offered = available || !chosen.isEmpty();
    m_signIn->setVisible(offered);
    m_signInLb->setVisible(offered);
    QString note = available ? QString() : tr("GNOME Online Accounts is not available");
    // The mail program's account signs in through its provider's page: say how to reach it.
    const std::optional<MailAccount> found = m_context.mail.defaultAccount();
    m_providerSignIn = found && found->oauth2;
    if (m_providerSignIn && chosen.isEmpty()) {
        const QString own = tr("%1 signs in through its own page, which needs no "
                               "password here. ")
                                .arg(found->server);
        QString match;
        for (int i = 1; i < m_signIn->count() && available; ++i) {
            if (m_signIn->itemData(i, AddressRole)
                    .toString()
                    .compare(found->user, Qt::CaseInsensitive) == 0)
                match = m_signIn->itemText(i);
        }
        if (!match.isEmpty())
            note = own + tr("Choose \"%1\" under Sign in with.").arg(match);
        else if (available)
            note = own + tr("Add the account in the desktop's Settings, Online "
                            "Accounts, then choose it under Sign in with.");
        else
            note += QStringLiteral(". ") + own +
                    tr("To check it: install GNOME Online Accounts, add the account "
                       "in the desktop's Settings, Online Accounts, and choose it "
                       "here.");
    }
    m_onlineNote->setText(note);
    m_onlineNote->setAccessibleName(note);
    m_onlineNote->setVisible(!note.isEmpty());
    setMailEnabled(m_chkEmail->isChecked());
}

void MailOptionsGroup::onlineChosen() {
    const QString id = m_signIn->currentData().toString();
    if (id == m_online->chosen())
        return;
    m_online->choose(id);
    fillOnlineAccounts();
}

void MailOptionsGroup::load(const Settings& stored) {
    m_filling = true;
    m_known = stored;
    // The interval box starts from the stored interval too, so that its first step goes on
    // from the number shown.
    m_checkMailMin->setValue(stored.checkMailMinutes);
    m_chkEmail->setChecked(stored.checkMail);
    m_user->setText(stored.mailUser);
    // A password on its way to the keyring stays as typed until it has arrived.
    if (m_passwordStores == 0)
        m_password->setText(stored.mailPassword);
    m_userEdited = m_passwordEdited = false;
    m_changed.clear();
    m_account->fill(stored);
    setMailEnabled(m_chkEmail->isChecked());
    m_filling = false;
}

QList<Settings::Field> MailOptionsGroup::take(Settings& values, Moment moment) {
    if (moment == Moment::Changed) {
        values.checkMail = m_chkEmail->isChecked();
        values.checkMailMinutes = m_checkMailMin->value();
        return std::exchange(m_changed, {});
    }
    QList<Settings::Field> fields = m_account->collect(values);
    if (m_userEdited) {
        m_userEdited = false;
        values.mailUser = m_user->text();
        fields << Field::MailUser;
    }
    if ((m_passwordEdited || m_passwordStores > 0) && moment == Moment::Unloading) {
        // No keyring answer may come before the end: the next start moves it there.
        m_passwordEdited = false;
        values.mailPassword = m_password->text();
        values.mailPasswordInKeyring = false;
        fields << Field::MailPassword << Field::MailPasswordInKeyring;
    }
    // The keyring answers later, after the page has written the fields.
    if (m_passwordEdited)
        storePassword();
    for (Field field : std::as_const(fields))
        m_known.copyField(field, values);
    return fields;
}

bool MailOptionsGroup::follow(const Settings& stored) {
    static constexpr Field Shown[] = {Field::CheckMail,      Field::CheckMailMinutes,
                                      Field::MailUser,       Field::MailPassword,
                                      Field::MailServer,     Field::MailType,
                                      Field::MailPort,       Field::MailSecurity,
                                      Field::MailDiscovered, Field::MailPasswordInKeyring};
    const bool changed = std::any_of(std::begin(Shown), std::end(Shown), [&](Field field) {
        Settings now = m_known;
        now.copyField(field, stored);
        return !(now == m_known);
    });
    if (!changed)
        return true;
    return OptionsGroup::follow(stored);
}

bool MailOptionsGroup::hasUnsavedInput() const {
    return m_userEdited || m_passwordEdited || m_passwordStores > 0 || m_account->isEdited();
}

void MailOptionsGroup::setMailEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_checkMailMin, m_checkMailLb, m_userLb,
                                                      m_user, m_passwordLb, m_password, m_account})
        w->setEnabled(on);
    // An account of the online accounts service brings its own user and secret.
    const bool online = !m_online->chosen().isEmpty();
    for (QWidget* w : std::initializer_list<QWidget*>{m_userLb, m_user, m_passwordLb, m_password})
        w->setEnabled(on && !online);
    // Nor is a password asked for where none can work.
    m_passwordLb->setEnabled(on && !online && !m_providerSignIn);
    m_password->setEnabled(on && !online && !m_providerSignIn);
    m_signIn->setEnabled(on);
}

void MailOptionsGroup::storePassword() {
    m_passwordEdited = false;
    const QString typed = m_password->text();
    ++m_passwordStores;
    m_mailPassword->store(typed, this, [this, typed](MailPassword::Place place) {
        m_passwordStores = 0; // only the last store answers
        if (place == MailPassword::Place::Unsaved) {
            ToolPage::tell(m_context.dialogs,
                           SaveFailures::failedText(tr("The options"), m_context.paths.dataFile(),
                                                    m_context.stores.settings.lastError()));
            m_checkAfterStore = false;
            return;
        }
        m_account->showPasswordPlace(
            place == MailPassword::Place::Keyring
                ? QCoreApplication::translate("OptionsGroup", KeptInKeyring)
            : place == MailPassword::Place::DataFile
                ? QCoreApplication::translate("OptionsGroup", KeptInDataFile)
                : QString());
        m_known.mailPassword = place == MailPassword::Place::DataFile ? typed : QString();
        m_known.mailPasswordInKeyring = place == MailPassword::Place::Keyring;
        // Kept in the keyring, it is no longer shown; a box typed in meanwhile keeps its text.
        if (!m_passwordEdited) {
            const QSignalBlocker quiet(m_password);
            m_password->setText(place == MailPassword::Place::DataFile ? typed : QString());
        }
        Q_EMIT settingSaved(Field::MailPassword);
        if (std::exchange(m_checkAfterStore, false))
            checkMailNow();
    });
}

void MailOptionsGroup::showMailStatus() {
    m_account->showStatus(m_state ? m_state->line() : QString());
}

void MailOptionsGroup::checkMailNow() {
    // What was typed is what the check uses.
    Q_EMIT keepRequested();
    if (m_passwordStores > 0) {
        m_checkAfterStore = true;
        m_account->showStatus(tr("Storing the password..."));
        return;
    }
    if (!m_state || !m_state->checkNow)
        return;
    m_account->showStatus(m_state->checkNow() ? tr("Checking...")
                                              : tr("A check is running; its "
                                                   "result follows here."));
}
