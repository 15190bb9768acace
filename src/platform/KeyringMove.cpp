// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeyringMove.h"

#include "platform/SecretStore.h"

KeyringMove::KeyringMove(SecretStore& secrets, QString key, QString what, Category log,
                         QObject* parent)
    : QObject(parent), m_secrets(secrets), m_key(std::move(key)), m_what(std::move(what)),
      m_log(log) {}

void KeyringMove::start(const QString& password, Blank blank) {
    if (m_moving || m_cancelled || password.isEmpty())
        return;
    m_moving = true;
    m_secrets.write(m_key, password, this,
                    [this, password, blank = std::move(blank)](const SecretStore::Result& r) {
                        m_moving = false;
                        if (r.status == SecretStore::Status::Cancelled) {
                            // The user said no: not asked again in this run.
                            m_cancelled = true;
                            qCInfo(m_log).noquote()
                                << "the" << m_what
                                << "stays in the data file: the keyring's prompt was cancelled";
                            Q_EMIT ended(false);
                            return;
                        }
                        if (r.status != SecretStore::Status::Done) {
                            // Said once per run: without a keyring every use would say it again.
                            if (!m_toldNoKeyring)
                                qCWarning(m_log).noquote()
                                    << "the" << m_what << "stays in the data file: no keyring"
                                    << r.error;
                            m_toldNoKeyring = true;
                            Q_EMIT ended(false);
                            return;
                        }
                        bool blanked = false;
                        const bool saved = blank(password, blanked);
                        if (!saved)
                            qCWarning(m_log).noquote()
                                << "the" << m_what
                                << "is in the keyring, but the data file could not "
                                   "be changed; it stays there too";
                        else if (blanked)
                            qCInfo(m_log).noquote() << "the" << m_what << "moved to the keyring";
                        Q_EMIT ended(saved && blanked);
                    });
}
