// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class MailWatch;

struct AppContext;

// The new-mail watch as the shell takes it: no page and no entries.
ToolDescriptor mailDescriptor();
// The same with its tool object (MailWatch), its E-mail group of Options and its jobs: at
// start-up the stored account follows the mail program's and the password moves to the
// keyring; each minute the watch checks for new mail when one is due. Its failures are the
// tool's notices.
ToolDescriptor mailTool(AppContext& context);
