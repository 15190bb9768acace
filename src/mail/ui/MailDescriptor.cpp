// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/MailDescriptor.h"

#include "shell/ui/TrayController.h"
#include "mail/MailAccountSync.h"
#include "mail/MailCheckJob.h"
#include "mail/ui/MailWatch.h"

ToolDescriptor mailDescriptor(MailWatch& watch) {
    ToolDescriptor d;
    d.id = QStringLiteral("MailWatch");
    d.optionsGroup = [&watch](QWidget* parent) { return watch.makeOptionsGroup(parent); };
    d.addJobs = [&watch](TrayController& controller) {
        const AppContext& context = controller.context();
        controller.addStartupJob(std::make_unique<MailAccountSync>(
            context.stores.settings, context.mail, [&watch] { watch.movePasswordToKeyring(); }));
        controller.addMinuteJob(std::make_unique<MailCheckJob>([&watch] { watch.load(); }));
    };
    return d;
}
