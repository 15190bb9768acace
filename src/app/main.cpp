#include "calendar/ui/Calendar.h"
#include "core/AppContext.h"
#include "core/Clock.h"
#include "core/ui/AppIcon.h"
#include "core/ui/SysTray.h"
#include "notify/ui/Notices.h"
#include "platform/ui/LinuxPlatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumora"));
    QApplication::setOrganizationName(QStringLiteral("Plumora"));
    // Closing a tool's window never ends Plumora; only "Unload Plumora" does.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(plumoraIcon());

    SystemClock clock;
    LinuxPlatform platform;
    AppContext context{AppPaths::fromEnvironment(), clock, platform};

    SysTray tray(context);
    // Before create(): start-up loads the reminder through menu command 7.
    const auto notices = Notices::attach(context, tray);
    registerCalendarTool(tray.shell().tools(), context);
    tray.create();
    if (!tray.load())
        return 0;
    return QApplication::exec();
}
