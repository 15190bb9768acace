// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Settings.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The mail account's server, type, port and security on the Options page, and where its
// password is kept. An account that came from the mail program is shown as it is there;
// any other the user may type. Options writes what changed when the page is left.
class MailAccountBox : public QWidget {
    Q_OBJECT
public:
    static constexpr char KeptInDataFile[] = "Stored in Plumora's data file (no keyring found)";
    static constexpr char KeptInKeyring[] = "Stored in the desktop's keyring";

    explicit MailAccountBox(QWidget* parent = nullptr);

    void fill(const Settings& settings);
    // Copies what the user changed into `settings` and returns the fields it changed.
    QList<Settings::Field> collect(Settings& settings);

private:
    void securityOrTypeChanged();

    QLineEdit* m_server;
    QComboBox* m_type;
    QSpinBox* m_port;
    QComboBox* m_security;
    QLabel* m_passwordPlace;
    Settings m_shown;
    bool m_filling = false;
    bool m_edited = false;
    int m_usualPort = 0;
};
