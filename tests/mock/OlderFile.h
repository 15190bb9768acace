// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DataFile.h"

#include <QString>

// Takes from a fresh data file the columns that the steps after the mail account's added
// (the mail account's own and the calendar account's last two), as a file made before them
// lacks; the caller then sets the version the file stands at. False when one could not go.
inline bool dropLaterColumns(DataFile& db) {
    for (const char* column : {"MailType", "MailPort", "MailSSL", "MailAuto", "MailKeyring"}) {
        if (!db.exec(QStringLiteral("ALTER TABLE System DROP COLUMN ") + QLatin1String(column)))
            return false;
    }
    return db.exec(QStringLiteral("ALTER TABLE CalDavAccount DROP COLUMN LastSuccess")) &&
           db.exec(QStringLiteral("ALTER TABLE CalDavAccount DROP COLUMN Password"));
}
