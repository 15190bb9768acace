// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"

#include <functional>

// Starts a new-mail check every CheckMailMin minutes while it is switched on and an account
// is known, when the machine is online. The first check comes on the first minute handled.
class MailCheckJob final : public MinuteJob {
public:
    // `onlineAccount` tells whether an account of the desktop's online accounts service is
    // chosen: it needs no user or server in the settings.
    explicit MailCheckJob(std::function<void()> startCheck,
                          std::function<bool()> onlineAccount = {});
    const char* name() const override { return "mail check"; }
    void run(MinuteContext& minute) override;
    QDateTime nextNeeded(const MinuteContext& minute) const override;

private:
    QDateTime m_last;
    std::function<void()> m_startCheck;
    std::function<bool()> m_onlineAccount;
};
