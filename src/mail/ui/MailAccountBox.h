// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Settings.h"
#include "shell/ui/OptionsGroup.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The mail account's server, type, port and security on the Options page, where its
// password is kept, how the last check went, and "Check now". An account that came from the
// mail program is shown as it is there; any other the user may type, secured by default
// (STARTTLS on 110 and 143, SSL/TLS on 995 and 993); "None" shows a warning. Options writes
// what changed when the page is left.
class MailAccountBox : public QWidget {
    Q_OBJECT
public:
    static constexpr const auto& KeptInDataFile = OptionsGroup::KeptInDataFile;
    static constexpr const auto& KeptInKeyring = OptionsGroup::KeptInKeyring;
    static constexpr char NoSecurityWarning[] = QT_TRANSLATE_NOOP(
        "MailAccountBox", "No security: the password and your mail cross the network unencrypted.");

    explicit MailAccountBox(QWidget* parent = nullptr);

    void fill(const Settings& settings);
    // Copies what the user changed into `settings` and returns the fields it changed.
    QList<Settings::Field> collect(Settings& settings);
    // Where the password is kept: KeptInDataFile, KeptInKeyring, or "" for nowhere.
    void showPasswordPlace(const QString& text);
    // The last check's result ("Last check 10:42: ..."); "" hides the line.
    void showStatus(const QString& text);
    QPushButton* checkNowButton() const { return m_checkNow; }
    // The user changed the account since it was filled or collected.
    bool isEdited() const { return m_edited; }

Q_SIGNALS:
    // "Check now" was clicked.
    void checkNowClicked();

private:
    void securityOrTypeChanged();
    void portChanged(int port);
    void showSecurityWarning();

    QLineEdit* m_server;
    QComboBox* m_type;
    QSpinBox* m_port;
    QComboBox* m_security;
    QLabel* m_passwordPlace;
    QLabel* m_securityWarning;
    QLabel* m_status;
    QPushButton* m_checkNow;
    Settings m_shown;
    bool m_filling = false;
    bool m_edited = false;
    int m_usualPort = 0;
};
