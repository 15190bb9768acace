// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SecretStore.h"

// The desktop's keyring through QtKeychain (GNOME Keyring, KWallet, KeePassXC): secrets are
// never written anywhere else, so without a keyring every call answers NoKeyring.
class KeychainSecretStore final : public SecretStore {
public:
    explicit KeychainSecretStore(QString service) : m_service(std::move(service)) {}
    void read(const QString& key, QObject* receiver, Done done) override;
    void write(const QString& key, const QString& secret, QObject* receiver, Done done) override;
    void remove(const QString& key, QObject* receiver, Done done) override;

private:
    QString m_service;
};
