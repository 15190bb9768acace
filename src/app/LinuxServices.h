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
#include "platform/ProcessRunner.h"
#include "platform/RegistryStore.h"
#include "platform/spell/HunspellModule.h"
#include "platform/ui/QtPictureOutput.h"
#include "platform/ui/QtWindowSystem.h"
#include "shell/AppContext.h"

#include <QDir>

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
    std::optional<StoreSet> data;

    AppContext context(const AppPaths& paths) {
        pictureOutput.setPrintModule(paths.helperProgram(QStringLiteral("libplumora_print.so")));
        secrets.setModule(paths.helperProgram(QStringLiteral("libplumora_keychain.so")));
        IcalModule::use(paths.helperProgram(QStringLiteral("libplumora_ical.so")));
        HunspellModule::use(paths.helperProgram(QStringLiteral("libplumora_hunspell.so")));
        data.emplace(paths.dataFile());
        return AppContext{paths,         clock,     windows, shell,          dialogs,
                          registry,      network,   mail,    processes,      grabber,
                          pictureOutput, downloads, secrets, data->stores(), onlineAccounts};
    }
};
