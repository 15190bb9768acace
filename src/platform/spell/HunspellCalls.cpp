// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the Hunspell module: its table, loaded at the first checker.
#include "platform/spell/HunspellModule.h"

#include "platform/Module.h"

#include <QCoreApplication>

#include <list>
#include <mutex>
#include <optional>

namespace {

using Table = const HunspellModule::Entries* (*)();

struct State {
    std::mutex mutex;
    QString path;
    std::optional<const HunspellModule::Entries*> entries; // tried for `path`
    QString failure;
    std::list<Module> modules; // never unloaded: dictionaries it made may live on
};

State& state() {
    static State s;
    return s;
}

} // namespace

void HunspellModule::use(const QString& path) {
    State& s = state();
    const std::lock_guard lock(s.mutex);
    s.path = path;
    s.entries.reset();
    s.failure.clear();
}

const HunspellModule::Entries* HunspellModule::entries() {
    State& s = state();
    const std::lock_guard lock(s.mutex);
    if (s.entries)
        return *s.entries;
    const auto table = s.modules.emplace_back(s.path).entry<Table>("plumoraHunspellEntries");
    s.entries = table ? table() : nullptr;
    if (!*s.entries)
        s.failure = QCoreApplication::translate("HunspellModule",
                                                "The spelling module (%1) could not be loaded.")
                        .arg(s.path.isEmpty() ? QStringLiteral("libplumora_hunspell.so") : s.path);
    return *s.entries;
}

QString HunspellModule::failure() {
    entries();
    State& s = state();
    const std::lock_guard lock(s.mutex);
    return s.failure;
}
