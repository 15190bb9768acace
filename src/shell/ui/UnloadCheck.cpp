// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/UnloadCheck.h"

#include "data/SaveFailures.h"
#include "platform/Dialogs.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/ToolPage.h"

#include <QCoreApplication>

namespace UnloadCheck {

bool confirm(const QList<ToolPage*>& pages, Dialogs& dialogs, Moment moment) {
    QStringList failures;
    QList<ToolPage*> failed;
    for (ToolPage* page : pages) {
        QString failure;
        if (page && !page->keepForUnload(&failure)) {
            failures << failure;
            failed << page;
        }
    }
    if (failed.isEmpty())
        return true;
    const bool unload = moment == Moment::Unload;
    const QString text =
        unload ? SaveFailures::unloadText(failures)
               : QCoreApplication::translate(
                     "UnloadCheck", "%1\n\nClose the window anyway? What was not saved is then "
                                    "lost. Choose No to keep it open while you make room or fix "
                                    "the folder.")
                     .arg(failures.join(QStringLiteral("\n\n")));
    const MessageAnswer answer =
        dialogs.messageBox(text, QStringLiteral("Plumora"),
                           unload ? MessageButtons::QuitAnywayStay : MessageButtons::YesNoDefaultNo,
                           MessageIcon::Warning);
    if (answer != MessageAnswer::Yes)
        return false;
    for (ToolPage* page : std::as_const(failed))
        page->giveUpUnsaved();
    return true;
}

bool confirm(const MainWindow* main, Dialogs& dialogs, Moment moment) {
    return confirm(main ? main->loadedPages() : QList<ToolPage*>(), dialogs, moment);
}

} // namespace UnloadCheck
