// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Lifecycle.h"

#include "app/Application.h"
#include "app/SessionEnd.h"
#include "app/SleepGuard.h"
#include "platform/LogindSleepInhibitor.h"
#include "shell/ui/MainWindow.h"

#include <QTimer>

Lifecycle::Lifecycle(Application& app, std::unique_ptr<SleepInhibitor> inhibitor)
    : m_end(std::make_unique<SessionEnd>([&app] { app.dispatcher().unloadNow(); })) {
    if (inhibitor) {
        guardSleep(app, std::move(inhibitor));
        return;
    }
    // The system bus once the program is up: start-up need not wait for it.
    QTimer::singleShot(0, m_end.get(),
                       [this, &app] { guardSleep(app, std::make_unique<LogindSleepInhibitor>()); });
}

void Lifecycle::guardSleep(Application& app, std::unique_ptr<SleepInhibitor> inhibitor) {
    m_inhibitor = std::move(inhibitor);
    m_sleep = std::make_unique<SleepGuard>(
        *m_inhibitor, [&app] { keepUnsavedWork(app); }, [&app] { tickNow(app); });
}

Lifecycle::~Lifecycle() = default;

void Lifecycle::keepUnsavedWork(Application& app) {
    app.saveOpenWork();
    // Pages out of sight kept their work when they were left; the one on show keeps it as
    // if its window closed, and is then shown again so it goes on from what was saved.
    MainWindow* main = app.dispatcher().mainWindow();
    ToolPage* page = main && main->isVisible() ? main->activePage() : nullptr;
    const NotesTool* notes = app.tool<NotesTool>(QStringLiteral("QNotes"));
    if (page && page != (notes ? notes->page() : nullptr)) {
        page->keepEverything();
        page->activated();
    }
}

void Lifecycle::tickNow(Application& app) {
    TrayController& controller = app.controller();
    controller.timer().start(controller.tick().msUntilNextTick());
    controller.tick().run();
}
