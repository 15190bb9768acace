// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MailClient.h"

// The mailto handler of the freedesktop MIME associations; its accounts are read when it is
// Thunderbird.
class LinuxMailClient final : public MailClient {
public:
    explicit LinuxMailClient(QString home);
    MailProgram program() const override;
    std::optional<MailAccount> defaultAccount() const override;
    bool open() override;

private:
    QString m_home;
};
