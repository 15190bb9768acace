// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class MailWatch;

// The new-mail watch as the shell takes it: no page and no entries, only its jobs. At
// start-up the stored account follows the mail program's and the password moves to the
// keyring; each minute `watch` checks for new mail when one is due.
ToolDescriptor mailDescriptor(MailWatch& watch);
