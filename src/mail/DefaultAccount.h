#pragma once

#include "platform/MailClient.h"

#include <QString>

class DataFile;
struct Settings;

// Reads the default account of the default Thunderbird profile under `home`
// (~/.thunderbird/profiles.ini, then that profile's prefs.js). Only a POP3 account counts;
// anything missing, unreadable or malformed gives two empty strings.
MailAccount readThunderbirdAccount(const QString& home);

// Keeps MailUser and MailPOP3 in step with the discovered account. When either differs
// from the stored one the row takes both and MailPwd is cleared, so a password is never
// sent to a server it was not typed for; otherwise the row is left untouched.
// Returns false only when the row could not be written.
bool syncDefaultAccount(DataFile& db, Settings& settings, const MailAccount& found);
