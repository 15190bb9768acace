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
// holds it, else in MailPwd of the data file (0600). A password typed in Options goes to the
// keyring at once, and into the column only when no keyring answers. One found in the
// column, carried by a restored backup or left there when no keyring ran, moves to the
// keyring at the next start or check; the column is blanked only after the keyring's
// confirmation, and only if it still holds the same password.
class MailPassword : public QObject {
    Q_OBJECT
public:
    static constexpr char Key[] = "mail";

    MailPassword(const SettingsStore& settings, SecretStore& secrets, QObject* parent = nullptr);

    // Moves a password in the column to the keyring; nothing when the column is empty.
    void moveToKeyring();

    // Where a typed password was kept; Unsaved when the data file could not be written.
    enum class Place { None, Keyring, DataFile, Unsaved };
    using Stored = std::function<void(Place place)>;
    // Keeps a password the user typed: in the keyring when it answers (a copy in the column
    // goes), else in the column. Empty forgets the password in both. `done` is called later,
    // and only for the last of several stores.
    void store(const QString& typed, QObject* receiver, Stored done);

    // The password for a check: the column's at once, else the keyring's when it holds it
    // (read now, asynchronously). `done` gets nullopt when there is none to use (never an
    // empty one), with `why` empty when none is stored (the user must type it), else the
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
    quint64 m_stores = 0; // counts stores; only the last one's answer is applied
};
