// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AppPaths.h"
#include "data/DataStores.h"

class Clock;
class DesktopShell;
class Dialogs;
class Downloader;
class GlobalKeys;
class MailClient;
class NetworkStatus;
class OnlineAccounts;
class PictureOutput;
class ProcessRunner;
class Registry;
class ScreenGrabber;
class SecretStore;
class WindowSystem;

// The services every part of Plumora is handed through its constructor: where the files
// are, what time it is, one small interface per kind of desktop effect, and the stores of
// the data file. Tests hand in fakes (tests/mock/FakeDesktop.h).
struct AppContext {
    AppPaths paths;
    Clock& clock;
    WindowSystem& windows;
    DesktopShell& shell;
    Dialogs& dialogs;
    Registry& registry;
    NetworkStatus& network;
    MailClient& mail;
    ProcessRunner& processes;
    ScreenGrabber& grabber;
    PictureOutput& pictureOutput;
    Downloader& downloads;
    SecretStore& secrets;
    GlobalKeys& keys;
    DataStores& stores;
    OnlineAccounts& onlineAccounts;
};
