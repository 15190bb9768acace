// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/KeyringMove.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class SecretStore;
class SettingsStore;

// Where the mail password lives: in the desktop's keyring once the keyring has confirmed it
// holds it, else in MailPwd of the data file (0600). A password found in the column, typed
// in Options, carried by a restored backup or left there when no keyring ran, moves to the
// keyring at the next start or check; the column is blanked only after the keyring's
// confirmation, and only if it still holds the same password.
class MailPassword : public QObject {
    Q_OBJECT
public:
    static constexpr char Key[] = "mail";

    MailPassword(const SettingsStore& settings, SecretStore& secrets, QObject* parent = nullptr);

    // Moves a password in the column to the keyring; nothing when the column is empty.
    void moveToKeyring();

    // The password for a check: the column's at once, else the keyring's when it holds it
    // (read now, asynchronously). `done` gets nullopt when there is none to use, with
    // `why` empty when the keyring simply has none (the user must type it again), else the
    // reason the keyring could not be read.
    using Fetched = std::function<void(std::optional<QString> password, const QString& why)>;
    void fetch(QObject* receiver, Fetched done);

Q_SIGNALS:
    // A move has ended: moved, or left in the column for want of a keyring.
    void moveEnded(bool moved);

private:
    const SettingsStore& m_settings;
    SecretStore& m_secrets;
    KeyringMove m_move;
};
