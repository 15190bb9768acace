#pragma once

#include "core/Jobs.h"

class MailClient;

// At start-up, keeps the stored POP3 user and server in step with the mail program's default
// account (a changed account clears the stored password).
class MailAccountSync final : public StartupJob {
public:
    MailAccountSync(QString dataFile, const MailClient& client);
    const char* name() const override { return "mail account"; }
    void run() override;

private:
    QString m_dataFile;
    const MailClient& m_client;
};
