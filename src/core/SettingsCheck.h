#pragma once

#include "core/AppPaths.h"

// Start-up care of the data file: create it from the template, bring its schema up to date,
// mark the first run and normalise CheckSum. Each step stands alone: when one fails and a
// replacement file temp.plm exists, the damaged data file is set aside (never deleted) as
// data.plm.damaged and temp.plm takes its place; then the next step runs. Nothing is shown.
class SettingsCheck {
public:
    struct Result {
        bool firstRun = false;  // NotifyAgo was 255 and is now 2: show the help once
        bool recovered = false; // temp.plm replaced a damaged data file
        int failedSteps = 0;
    };

    explicit SettingsCheck(AppPaths paths);

    Result run();

    // Moves the damaged data file aside and temp.plm into its place; false when there is no
    // temp.plm or the damaged file cannot be kept.
    bool recoverFromReplacement();

private:
    bool copyTemplate();

    AppPaths m_paths;
};

// Limits data.plm to its owner: it holds the mail password.
void restrictToOwner(const QString& path);
