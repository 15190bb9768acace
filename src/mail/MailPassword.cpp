// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailPassword.h"

#include "core/Settings.h"
#include "mail/MailCheck.h"
#include "platform/SecretStore.h"

#include <QMetaObject>

MailPassword::MailPassword(const SettingsStore& settings, SecretStore& secrets, QObject* parent)
    : QObject(parent), m_settings(settings), m_secrets(secrets) {}

void MailPassword::moveToKeyring() {
    if (m_moving)
        return;
    const std::optional<Settings> settings = m_settings.load();
    if (!settings || settings->mailPassword.isEmpty())
        return;
    const QString password = settings->mailPassword;
    m_moving = true;
    m_secrets.write(
        QLatin1String(Key), password, this, [this, password](const SecretStore::Result& r) {
            m_moving = false;
            if (r.status != SecretStore::Status::Done) {
                // Said once per run: without a keyring every check would say it again.
                if (!m_toldNoKeyring)
                    qCWarning(lcMail)
                        << "the mail password stays in the data file: no keyring" << r.error;
                m_toldNoKeyring = true;
                Q_EMIT moveEnded(false);
                return;
            }
            bool moved = false;
            const bool saved = m_settings.update([&](Settings& s) {
                // Typed anew meanwhile: that one moves at the next chance.
                if (s.mailPassword != password)
                    return;
                s.mailPassword = QString();
                s.mailPasswordInKeyring = true;
                moved = true;
            });
            if (!saved)
                qCWarning(lcMail) << "the mail password is in the keyring, but the data file could "
                                     "not be changed; it stays there too";
            else if (moved)
                qCInfo(lcMail) << "the mail password moved to the keyring";
            Q_EMIT moveEnded(saved && moved);
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
        case SecretStore::Status::Failed:
            return done(std::nullopt, r.error.isEmpty() ? QStringLiteral("no keyring") : r.error);
        }
    });
}
