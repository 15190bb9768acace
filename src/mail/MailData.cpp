// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailData.h"

ToolData mailData() {
    return {};
}
