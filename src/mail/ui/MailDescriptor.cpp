// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/MailDescriptor.h"

#include "mail/MailAccountSync.h"
#include "mail/MailCheckJob.h"
#include "mail/ui/MailWatch.h"
#include "shell/ui/TrayController.h"

ToolDescriptor mailDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("MailWatch");
    return d;
}

ToolDescriptor mailTool(AppContext& context) {
    ToolDescriptor d = mailDescriptor();
    const std::shared_ptr<ToolLink> link = d.link;
    MailWatch* watch = d.hold(std::make_shared<MailWatch>(
        context, [link](const QString& text, const QString& action) { link->tell(text, action); }));
    d.optionsGroups = {[watch](QWidget* parent) { return watch->makeOptionsGroup(parent); }};
    d.addJobs = [watch](TrayController& controller) {
        const AppContext& context = controller.context();
        controller.addStartupJob(std::make_unique<MailAccountSync>(
            context.stores.settings, context.mail, [watch] { watch->movePasswordToKeyring(); }));
        controller.addMinuteJob(std::make_unique<MailCheckJob>([watch] { watch->load(); }));
    };
    return d;
}
