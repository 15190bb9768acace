// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailPassword.h"

#include "core/Settings.h"
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
            receiver,
            [done] { done(std::nullopt, QStringLiteral("the data file could not be read")); },
            Qt::QueuedConnection);
        return;
    }
    if (!settings->mailPassword.isEmpty() || !settings->mailPasswordInKeyring) {
        const QString password = settings->mailPassword;
        QMetaObject::invokeMethod(
            receiver, [done, password] { done(password, QString()); }, Qt::QueuedConnection);
        return;
    }
    m_secrets.read(QLatin1String(Key), receiver, [done](const SecretStore::Result& r) {
        switch (r.status) {
        case SecretStore::Status::Done:
            return done(r.secret, QString());
        case SecretStore::Status::NotFound:
            return done(std::nullopt, QString());
        case SecretStore::Status::NoKeyring:
        case SecretStore::Status::Cancelled:
        case SecretStore::Status::Failed:
            return done(std::nullopt, r.error.isEmpty() ? QStringLiteral("no keyring") : r.error);
        }
    });
}
