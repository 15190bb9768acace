// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <QString>

#include <functional>

class SecretStore;

// Moves a password kept in a column of the data file to the keyring: it is written there
// first, and the column is blanked only after the keyring's confirmation, and only if it
// still holds the same password (one typed anew meanwhile moves at the next chance).
class KeyringMove : public QObject {
    Q_OBJECT
public:
    // Blanks the column when it still holds `password`, setting `blanked`; false when the
    // data file could not be written.
    using Blank = std::function<bool(const QString& password, bool& blanked)>;
    using Category = const QLoggingCategory& (*)();

    // `key`: the keyring's key; `what`: the password's name for the log ("mail password").
    KeyringMove(SecretStore& secrets, QString key, QString what, Category log,
                QObject* parent = nullptr);

    // Nothing when `password` is empty, a move runs, or the user cancelled the keyring's
    // prompt for an earlier one.
    void start(const QString& password, Blank blank);

Q_SIGNALS:
    // A move has ended: moved, or left in the column for want of a keyring.
    void ended(bool moved);

private:
    SecretStore& m_secrets;
    QString m_key;
    QString m_what;
    Category m_log;
    bool m_moving = false;
    bool m_toldNoKeyring = false;
    bool m_cancelled = false;
};
