#pragma once

#include <QString>

// The POP3 account of the user's default mail program, or two empty strings.
struct MailAccount {
    QString user;
    QString server;
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
    // The default POP3 account of the mail program, when Plumora can read its settings.
    virtual MailAccount defaultAccount() const = 0;
    // Starts the mail program without a message; false when there is none to start.
    virtual bool open() = 0;
};
