// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeychainSecretStore.h"

#include <QCoreApplication>
#include <QTimer>

KeychainSecretStore::~KeychainSecretStore() = default;

SecretStore* KeychainSecretStore::store(QObject* receiver, Done& done) {
    if (!m_store) {
        if (const auto make =
                m_module.entry<SecretStore* (*)(const QString&)>("plumoraKeychainStore"))
            m_store.reset(make(m_service));
    }
    if (!m_store) {
        // Answered like the keyring answers: later, from the event loop.
        QTimer::singleShot(0, receiver, [done = std::move(done)] {
            SecretStore::Result r;
            r.error = QCoreApplication::translate("KeychainSecretStore",
                                                  "the keyring module could not be loaded");
            done(r);
        });
    }
    return m_store.get();
}

void KeychainSecretStore::read(const QString& key, QObject* receiver, Done done) {
    if (SecretStore* s = store(receiver, done))
        s->read(key, receiver, std::move(done));
}

void KeychainSecretStore::write(const QString& key, const QString& secret, QObject* receiver,
                                Done done) {
    if (SecretStore* s = store(receiver, done))
        s->write(key, secret, receiver, std::move(done));
}

void KeychainSecretStore::remove(const QString& key, QObject* receiver, Done done) {
    if (SecretStore* s = store(receiver, done))
        s->remove(key, receiver, std::move(done));
}
