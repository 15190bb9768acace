#pragma once

#include "core/AppPaths.h"
#include "mail/DefaultAccount.h"

#include <functional>

// Start-up care of the data file: create it from the template, mark the first run, normalise
// CheckSum and keep the mail account in step. Each step stands alone: when one fails and a
// replacement file temp.plm exists, the damaged data file is set aside (never deleted) as
// data.plm.damaged and temp.plm takes its place; then the next step runs. Nothing is shown.
class SettingsCheck {
public:
    using AccountSource = std::function<MailAccount()>;

    struct Result {
        bool firstRun = false;  // NotifyAgo was 255 and is now 2: show the help once
        bool recovered = false; // temp.plm replaced a damaged data file
        int failedSteps = 0;
    };

    SettingsCheck(AppPaths paths, AccountSource discoverAccount);

    Result run();

    // Moves the damaged data file aside and temp.plm into its place; false when there is no
    // temp.plm or the damaged file cannot be kept.
    bool recoverFromReplacement();

private:
    bool copyTemplate();

    AppPaths m_paths;
    AccountSource m_discoverAccount;
};

// Limits data.plm to its owner: it holds the mail password.
void restrictToOwner(const QString& path);
