// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's keyring through QtKeychain, in a module of its own (see platform/Module.h):
// QtKeychain loads only when a secret is first read, written or removed.
#include "platform/SecretStore.h"

#include <qt6keychain/keychain.h>

namespace {

SecretStore::Result resultOf(const QKeychain::Job& job) {
    SecretStore::Result r;
    r.error = job.errorString();
    switch (job.error()) {
    case QKeychain::NoError:
        r.status = SecretStore::Status::Done;
        break;
    case QKeychain::EntryNotFound:
        r.status = SecretStore::Status::NotFound;
        break;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        r.status = SecretStore::Status::NoKeyring;
        break;
    // The keyring runs: it stayed locked (libsecret's answer when its unlock prompt was
    // dismissed) or the user refused access.
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
        r.status = SecretStore::Status::Cancelled;
        break;
    default:
        r.status = SecretStore::Status::Failed;
        break;
    }
    return r;
}

// Starts a job and hands its result to `done` while `receiver` lives.
template <typename Job>
void run(Job* job, const QString& key, QObject* receiver, SecretStore::Done done,
         std::function<void(Job&, SecretStore::Result&)> extra = {}) {
    // Never a clear-text file in place of a keyring.
    job->setInsecureFallback(false);
    job->setAutoDelete(true);
    job->setKey(key);
    QObject::connect(job, &QKeychain::Job::finished, receiver,
                     [job, done = std::move(done), extra = std::move(extra)] {
                         SecretStore::Result r = resultOf(*job);
                         if (extra && r.status == SecretStore::Status::Done)
                             extra(*job, r);
                         done(r);
                     });
    job->start();
}

// GNOME Keyring, KWallet, KeePassXC: secrets are never written anywhere else, so without a
// keyring every call answers NoKeyring.
class KeychainStore final : public SecretStore {
public:
    explicit KeychainStore(QString service) : m_service(std::move(service)) {}
    void read(const QString& key, QObject* receiver, Done done) override;
    void write(const QString& key, const QString& secret, QObject* receiver, Done done) override;
    void remove(const QString& key, QObject* receiver, Done done) override;

private:
    QString m_service;
};

void KeychainStore::read(const QString& key, QObject* receiver, Done done) {
    run<QKeychain::ReadPasswordJob>(
        new QKeychain::ReadPasswordJob(m_service), key, receiver, std::move(done),
        [](QKeychain::ReadPasswordJob& job, Result& r) { r.secret = job.textData(); });
}

void KeychainStore::write(const QString& key, const QString& secret, QObject* receiver, Done done) {
    auto* job = new QKeychain::WritePasswordJob(m_service);
    job->setTextData(secret);
    run<QKeychain::WritePasswordJob>(job, key, receiver, std::move(done));
}

void KeychainStore::remove(const QString& key, QObject* receiver, Done done) {
    run<QKeychain::DeletePasswordJob>(new QKeychain::DeletePasswordJob(m_service), key, receiver,
                                      std::move(done));
}

} // namespace

// The keyring under `service`; the caller owns it.
extern "C" Q_DECL_EXPORT SecretStore* plumoraKeychainStore(const QString& service) {
    return new KeychainStore(service);
}
