// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the network module: loaded at the first client or connection made.
#include "platform/NetModule.h"

#include "base/Log.h"
#include "platform/Module.h"

#include <QCoreApplication>

namespace {

struct Entries {
    NetModule::MakeHttpClient httpClient = nullptr;
    NetModule::MakeStreamSocket streamSocket = nullptr;
    QString failure;
};

Entries load(Module& module, const QString& path) {
    Entries e;
    e.httpClient = module.entry<NetModule::MakeHttpClient>("plumoraHttpClient");
    e.streamSocket = module.entry<NetModule::MakeStreamSocket>("plumoraStreamSocket");
    if (!e.httpClient || !e.streamSocket) {
        e = Entries{};
        e.failure =
            QCoreApplication::translate("NetModule", "The network module (%1) could not be loaded.")
                .arg(path.isEmpty() ? QStringLiteral("libplumora_net.so") : path);
        qCWarning(lcDesktop).noquote() << e.failure;
    }
    return e;
}

ModuleEntries<Entries>& module() {
    static ModuleEntries<Entries> m(&load);
    return m;
}

Entries entries() {
    return module().get();
}

} // namespace

void NetModule::use(const QString& path) {
    module().use(path);
}

QString NetModule::failure() {
    return entries().failure;
}

std::unique_ptr<HttpClient> NetModule::httpClient() {
    const auto make = entries().httpClient;
    return std::unique_ptr<HttpClient>(make ? make() : nullptr);
}

StreamSocket* NetModule::streamSocket(QObject* parent) {
    const auto make = entries().streamSocket;
    return make ? make(parent) : nullptr;
}
