#pragma once

#include "platform/Platform.h"

#include <QString>

// The desktop services that need no widgets, shared by the Linux platform and the tools
// that run without a display.
namespace SystemServices {

// Documents and Desktop from the XDG user folders, ProgramFiles as /usr; always ending in
// "/", or "" when unknown.
QString specialFolderPath(SpecialFolder folder);

// Reachability from the system's network backend when one loads, else whether a
// non-loopback interface is up with an address.
bool isOnline();

// The mail program the user chose for mailto links; its display name and a test whether
// it is the mail program whose accounts Plumora can read.
struct MailProgram {
    QString desktopId;
    QString displayName; // "Thunderbird", or "your mail program" when none is known
    bool isThunderbird = false;
};
MailProgram defaultMailProgram();

} // namespace SystemServices
