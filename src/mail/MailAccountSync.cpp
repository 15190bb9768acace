// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailAccountSync.h"

#include "base/Log.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "mail/DefaultAccount.h"
#include "platform/MailClient.h"

MailAccountSync::MailAccountSync(const SettingsStore& settings, const MailClient& client,
                                 std::function<void()> then)
    : m_settings(settings), m_client(client), m_then(std::move(then)) {}

void MailAccountSync::run() {
    {
        DataFile db(m_settings.dataFile(), m_settings.changes());
        Settings settings;
        if (!db.isOpen() || !SettingsStore::read(db, settings).rowRead)
            return;
        if (!syncDefaultAccount(db, settings, m_client.defaultAccount()))
            qCWarning(lcStartup) << "mail account not stored:" << db.lastError();
    }
    if (m_then)
        m_then();
}
