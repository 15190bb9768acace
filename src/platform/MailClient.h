// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// How the connection to the mail server is secured, by the mail program's own codes
// (Thunderbird's socketType): None still upgrades when the server offers it.
enum class MailSecurity { None = 0, StartTls = 2, Tls = 3 };

// The POP3 or IMAP account of the user's default mail program; empty strings when it has
// none that Plumora can check.
struct MailAccount {
    QString user;
    QString server;
    QString type = QStringLiteral("pop3"); // "pop3" or "imap"
    int port = 110;
    MailSecurity security = MailSecurity::None;
    // The provider signs in through its own web page (OAuth2): no password can work.
    bool oauth2 = false;
    bool operator==(const MailAccount&) const = default;
};

// The mail program the user chose for mailto links.
struct MailProgram {
    QString desktopId;
    QString displayName; // "Thunderbird", or "your mail program" when none is known
    bool isThunderbird = false;
};

// The user's mail program: which it is, its default account and a way to start it.
class MailClient {
public:
    virtual ~MailClient() = default;
    virtual MailProgram program() const = 0;
    // The default account of the mail program; nullopt when the program is none whose
    // settings Plumora can read, so that an account the user typed is kept.
    virtual std::optional<MailAccount> defaultAccount() const = 0;
    // Starts the mail program without a message; false when there is none to start.
    virtual bool open() = 0;
};
