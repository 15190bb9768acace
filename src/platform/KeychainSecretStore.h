// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Module.h"
#include "platform/SecretStore.h"

#include <memory>

// The desktop's keyring (GNOME Keyring, KWallet, KeePassXC) through the keyring module,
// loaded at the first call: secrets are never written anywhere else, so without a keyring
// every call answers NoKeyring, and without the module every call fails and says why.
class KeychainSecretStore final : public SecretStore {
public:
    explicit KeychainSecretStore(QString service) : m_service(std::move(service)) {}
    ~KeychainSecretStore() override;

    // The keyring module's file (AppPaths::helperProgram); takes effect before the first call.
    void setModule(const QString& path) { m_module.setPath(path); }

    void read(const QString& key, QObject* receiver, Done done) override;
    void write(const QString& key, const QString& secret, QObject* receiver, Done done) override;
    void remove(const QString& key, QObject* receiver, Done done) override;

private:
    // The module's keyring; nullptr, with `done` answered Failed later, when it is missing.
    SecretStore* store(QObject* receiver, Done& done);

    QString m_service;
    Module m_module;
    std::unique_ptr<SecretStore> m_store;
};
