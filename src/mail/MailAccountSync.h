// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

class MailClient;
class SettingsStore;

#include <functional>

// At start-up, keeps the stored account in step with the mail program's default account (a
// changed account clears the stored password), then runs `then` (the password's move to
// the keyring).
class MailAccountSync final : public StartupJob {
public:
    MailAccountSync(const SettingsStore& settings, const MailClient& client,
                    std::function<void()> then = {});
    const char* name() const override { return "mail account"; }
    void run() override;

private:
    const SettingsStore& m_settings;
    const MailClient& m_client;
    std::function<void()> m_then;
};
