// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the network module: loaded at the first client or connection made.
#include "platform/NetModule.h"

#include "base/Log.h"
#include "platform/Module.h"

#include <QCoreApplication>

#include <list>
#include <mutex>
#include <optional>

namespace {

struct Entries {
    NetModule::MakeHttpClient httpClient = nullptr;
    NetModule::MakeStreamSocket streamSocket = nullptr;
    QString failure;
};

struct State {
    std::mutex mutex;
    QString path;
    std::optional<Entries> entries; // loaded, or tried and failed, for `path`
    std::list<Module> modules;      // never unloaded: the objects they made stay valid
};

State& state() {
    static State s;
    return s;
}

Entries entries() {
    State& s = state();
    const std::lock_guard lock(s.mutex);
    if (s.entries)
        return *s.entries;
    Module* module = &s.modules.emplace_back(s.path);
    Entries e;
    e.httpClient = module->entry<NetModule::MakeHttpClient>("plumoraHttpClient");
    e.streamSocket = module->entry<NetModule::MakeStreamSocket>("plumoraStreamSocket");
    if (!e.httpClient || !e.streamSocket) {
        e = Entries{};
        e.failure =
            QCoreApplication::translate("NetModule", "The network module (%1) could not be loaded.")
                .arg(s.path.isEmpty() ? QStringLiteral("libplumora_net.so") : s.path);
        qCWarning(lcDesktop).noquote() << e.failure;
    }
    s.entries = e;
    return e;
}

} // namespace

void NetModule::use(const QString& path) {
    State& s = state();
    const std::lock_guard lock(s.mutex);
    s.path = path;
    s.entries.reset();
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
