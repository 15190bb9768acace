// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/OptionsGroup.h"

struct AppContext;
class MailAccountBox;
class MailCheckState;
class MailPassword;
class OnlineMailSignIn;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The mail watch's group on the Options page: "Thunderbird E-mail" ("E-mail" for another
// mail program). Whether and how often mail is checked is written as soon as it changes; the
// user name and the account's server when the page is left, and only when they were edited.
// A typed password goes to the keyring as soon as its field is left (MailPassword), or, when
// the program ends first, to the data file, to move at the next start. "Check now" checks
// with what was typed. "Sign in with" offers the mail accounts of GNOME Online Accounts
// beside the typed or discovered one; the choice is written at once.
class MailOptionsGroup : public OptionsGroup {
    Q_OBJECT
public:
    // After the events' group.
    static constexpr int Order = 200;

    // `state`: the mail checks' results and "Check now"; none: the button does nothing.
    MailOptionsGroup(AppContext& context, MailCheckState* state, QWidget* parent = nullptr);

    int order() const override { return Order; }
    void load(const Settings& stored) override;
    QList<Settings::Field> take(Settings& values, Moment moment) override;
    bool hasUnsavedInput() const override;
    bool follow(const Settings& stored) override;

private:
    void setMailEnabled(bool on);
    void storePassword();
    void checkMailNow();
    void showMailStatus();
    // The accounts of the desktop's online accounts service as sign-in choices.
    void fillOnlineAccounts();
    void onlineChosen();

    AppContext& m_context;
    MailCheckState* m_state;
    QCheckBox* m_chkEmail;
    QSpinBox* m_checkMailMin;
    QLabel* m_checkMailLb;
    QLabel* m_userLb;
    QLabel* m_passwordLb;
    QLineEdit* m_user;
    QLineEdit* m_password;
    MailAccountBox* m_account;
    MailPassword* m_mailPassword;
    OnlineMailSignIn* m_online;
    QComboBox* m_signIn;
    QLabel* m_signInLb;
    QLabel* m_onlineNote;
    bool m_providerSignIn = false; // the mail program's account signs in with OAuth2
    bool m_filling = false;
    // The mail settings as the group last read or wrote them.
    Settings m_known;
    // The check box's and the interval's changes not yet taken by the page.
    QList<Settings::Field> m_changed;
    // The "*" tags of the two text boxes.
    bool m_userEdited = false;
    bool m_passwordEdited = false;
    int m_passwordStores = 0;       // typed passwords on their way to the keyring
    bool m_checkAfterStore = false; // "Check now" waits for them
};
