// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/StoreSet.h"
#include "base/Clock.h"
#include "calendar/ical/IcalModule.h"
#include "mail/LinuxMailClient.h"
#include "platform/GoaOnlineAccounts.h"
#include "platform/HttpDownloader.h"
#include "platform/KeychainSecretStore.h"
#include "platform/LinuxDesktop.h"
#include "platform/LinuxScreenGrabber.h"
#include "platform/NetModule.h"
#include "platform/PortalGlobalKeys.h"
#include "platform/ProcessRunner.h"
#include "platform/RegistryStore.h"
#include "platform/X11GlobalKeys.h"
#include "platform/spell/HunspellModule.h"
#include "platform/ui/QtPictureOutput.h"
#include "platform/ui/QtWindowSystem.h"
#include "shell/AppContext.h"

#include <QDir>

#include <memory>
#include <optional>

// The real services of a Linux desktop session, one per role, and the data file's stores.
struct LinuxServices {
    SystemClock clock;
    QtWindowSystem windows;
    LinuxDesktopShell shell;
    QtDialogs dialogs;
    RegistryStore registry{RegistryStore::defaultPath()};
    LinuxNetworkStatus network;
    LinuxMailClient mail{QDir::homePath()};
    SystemProcessRunner processes;
    HttpDownloader downloads;
    LinuxScreenGrabber grabber;
    QtPictureOutput pictureOutput;
    KeychainSecretStore secrets{QStringLiteral("Plumora")};
    GoaOnlineAccounts onlineAccounts;
    std::unique_ptr<GlobalKeys> keys;
    std::optional<StoreSet> data;

    AppContext context(const AppPaths& paths) {
        pictureOutput.setPrintModule(paths.helperProgram(QStringLiteral("libplumora_print.so")));
        secrets.setModule(paths.helperProgram(QStringLiteral("libplumora_keychain.so")));
        IcalModule::use(paths.helperProgram(QStringLiteral("libplumora_ical.so")));
        HunspellModule::use(paths.helperProgram(QStringLiteral("libplumora_hunspell.so")));
        NetModule::use(paths.helperProgram(QStringLiteral("libplumora_net.so")));
        // Made once the application is: X11 is asked through it. A grab through XWayland
        // only fires while one of Plumora's own windows has the focus, so a Wayland
        // session has no global keys of X11: there the desktop portal binds them, where it
        // offers that.
        const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                             qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
        if (!wayland)
            keys.reset(X11GlobalKeys::create());
        else if (const QDBusConnection bus = QDBusConnection::sessionBus(); bus.isConnected())
            keys = std::make_unique<PortalGlobalKeys>(bus, QStringLiteral(PLUMORA_APP_ID));
        if (!keys)
            keys = std::make_unique<NoGlobalKeys>();
        data.emplace(paths.dataFile());
        return AppContext{paths,   clock, windows,        shell,         dialogs,       registry,
                          network, mail,  processes,      grabber,       pictureOutput, downloads,
                          secrets, *keys, data->stores(), onlineAccounts};
    }
};
