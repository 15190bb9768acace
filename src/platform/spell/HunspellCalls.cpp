// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the Hunspell module: its table, loaded at the first checker.
#include "platform/spell/HunspellModule.h"

#include "platform/Module.h"

#include <QCoreApplication>

namespace {

using Table = const HunspellModule::Entries* (*)();

struct Loaded {
    const HunspellModule::Entries* table = nullptr;
    QString failure;
};

Loaded load(Module& module, const QString& path) {
    const auto table = module.entry<Table>("plumoraHunspellEntries");
    Loaded l{table ? table() : nullptr, {}};
    if (!l.table)
        l.failure = QCoreApplication::translate("HunspellModule",
                                                "The spelling module (%1) could not be loaded.")
                        .arg(path.isEmpty() ? QStringLiteral("libplumora_hunspell.so") : path);
    return l;
}

ModuleEntries<Loaded>& module() {
    static ModuleEntries<Loaded> m(&load);
    return m;
}

} // namespace

void HunspellModule::use(const QString& path) {
    module().use(path);
}

const HunspellModule::Entries* HunspellModule::entries() {
    return module().get().table;
}

QString HunspellModule::failure() {
    return module().get().failure;
}
