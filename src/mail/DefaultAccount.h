// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MailClient.h"

#include <QString>
#include <QStringList>

#include <optional>

class DataFile;
struct Settings;

// Where Thunderbird keeps its profiles under `home`: its own folder, then those of the
// Flatpak and Snap packages; the folder of the package whose desktop entry `desktopId` is
// the default mail program comes first (a leftover ~/.thunderbird must not win over the
// profile of the Thunderbird the user runs).
QStringList thunderbirdRoots(const QString& home, const QString& desktopId = {});

// The usual port of a POP3 or IMAP server with the given security.
quint16 defaultMailPort(const QString& type, MailSecurity security);
// A stored or discovered security code; unknown codes read as None.
MailSecurity mailSecurity(int code);

// Reads the default account of the default Thunderbird profile under `home` (profiles.ini,
// then that profile's prefs.js). Only a POP3 or IMAP account counts; anything missing,
// unreadable or malformed gives empty strings.
// `desktopId` is the default mail program's desktop entry (thunderbirdRoots).
MailAccount readThunderbirdAccount(const QString& home, const QString& desktopId = {});

// The account the settings describe (its port 0 when none was stored).
MailAccount storedAccount(const Settings& settings);
// The port to connect to: the account's, or the usual one when it has none.
quint16 accountPort(const MailAccount& account);

// Keeps the stored account in step with the discovered one. A discovered account replaces
// the stored one; a changed server, user, port or type clears the password, so that it is
// never sent where it was not typed for. When the mail program has no account, only a
// discovered account is cleared; one the user typed stays. Without a supported mail
// program (`found` empty) the account is left as it is, and becomes the user's to edit.
// Returns false only when the row could not be written.
bool syncDefaultAccount(DataFile& db, Settings& settings, const std::optional<MailAccount>& found);
