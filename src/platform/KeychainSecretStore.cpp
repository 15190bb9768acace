// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeychainSecretStore.h"

#include <QPointer>

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

} // namespace

void KeychainSecretStore::read(const QString& key, QObject* receiver, Done done) {
    run<QKeychain::ReadPasswordJob>(
        new QKeychain::ReadPasswordJob(m_service), key, receiver, std::move(done),
        [](QKeychain::ReadPasswordJob& job, Result& r) { r.secret = job.textData(); });
}

void KeychainSecretStore::write(const QString& key, const QString& secret, QObject* receiver,
                                Done done) {
    auto* job = new QKeychain::WritePasswordJob(m_service);
    job->setTextData(secret);
    run<QKeychain::WritePasswordJob>(job, key, receiver, std::move(done));
}

void KeychainSecretStore::remove(const QString& key, QObject* receiver, Done done) {
    run<QKeychain::DeletePasswordJob>(new QKeychain::DeletePasswordJob(m_service), key, receiver,
                                      std::move(done));
}
