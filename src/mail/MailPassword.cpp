// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailPassword.h"

#include "data/Settings.h"
#include "mail/MailCheck.h"
#include "platform/SecretStore.h"

#include <QMetaObject>

MailPassword::MailPassword(const SettingsStore& settings, SecretStore& secrets, QObject* parent)
    : QObject(parent), m_settings(settings), m_secrets(secrets),
      m_move(secrets, QLatin1String(Key), QStringLiteral("mail password"), lcMail, this) {
    connect(&m_move, &KeyringMove::ended, this, &MailPassword::moveEnded);
}

void MailPassword::moveToKeyring() {
    const std::optional<Settings> settings = m_settings.load();
    if (!settings || settings->mailPassword.isEmpty())
        return;
    m_move.start(settings->mailPassword, [this](const QString& password, bool& blanked) {
        return m_settings.update([&](Settings& s) {
            // Typed anew meanwhile: that one moves at the next chance.
            if (s.mailPassword != password)
                return;
            s.mailPassword = QString();
            s.mailPasswordInKeyring = true;
            blanked = true;
        });
    });
}

void MailPassword::fetch(QObject* receiver, Fetched done) {
    const std::optional<Settings> settings = m_settings.load();
    if (!settings) {
        QMetaObject::invokeMethod(
            receiver, [done] { done(std::nullopt, tr("the data file could not be read")); },
            Qt::QueuedConnection);
        return;
    }
    if (!settings->mailPassword.isEmpty() || !settings->mailPasswordInKeyring) {
        // An empty column and nothing in the keyring: no password, never an empty one.
        std::optional<QString> password;
        if (!settings->mailPassword.isEmpty())
            password = settings->mailPassword;
        QMetaObject::invokeMethod(
            receiver, [done, password] { done(password, QString()); }, Qt::QueuedConnection);
        return;
    }
    m_secrets.read(QLatin1String(Key), receiver, [done](const SecretStore::Result& r) {
        switch (r.status) {
        case SecretStore::Status::Done:
            if (r.secret.isEmpty())
                return done(std::nullopt, QString());
            return done(r.secret, QString());
        case SecretStore::Status::NotFound:
            return done(std::nullopt, QString());
        case SecretStore::Status::NoKeyring:
        case SecretStore::Status::Cancelled:
        case SecretStore::Status::Failed:
            return done(std::nullopt, r.error.isEmpty() ? tr("no keyring") : r.error);
        }
    });
}

void MailPassword::store(const QString& typed, QObject* receiver, Stored done) {
    const quint64 number = ++m_stores;
    const auto keep = [this](const QString& column, bool inKeyring) {
        return m_settings.update([&](Settings& s) {
            s.mailPassword = column;
            s.mailPasswordInKeyring = inKeyring;
        });
    };
    if (typed.isEmpty()) {
        const Place place = keep(QString(), false) ? Place::None : Place::Unsaved;
        m_secrets.remove(QLatin1String(Key), receiver,
                         [this, number, done, place](const SecretStore::Result&) {
                             if (number == m_stores)
                                 done(place);
                         });
        return;
    }
    m_secrets.write(QLatin1String(Key), typed, receiver,
                    [this, number, typed, keep, done](const SecretStore::Result& r) {
                        if (number != m_stores)
                            return;
                        const bool inKeyring = r.status == SecretStore::Status::Done;
                        if (!inKeyring)
                            qCWarning(lcMail).noquote()
                                << "the mail password stays in the data file: no keyring"
                                << r.error;
                        if (!keep(inKeyring ? QString() : typed, inKeyring))
                            return done(Place::Unsaved);
                        done(inKeyring ? Place::Keyring : Place::DataFile);
                    });
}
