// SPDX-License-Identifier: GPL-3.0-or-later
// The calls on Hunspell itself: linked into tests, and the whole of the program's module.
#include "platform/spell/HunspellModule.h"

#include <hunspell/hunspell.hxx>

namespace {

Hunspell& of(void* dictionary) {
    return *static_cast<Hunspell*>(dictionary);
}

} // namespace

const HunspellModule::Entries& HunspellModule::linkedEntries() {
    static const Entries table{
        [](const char* affFile, const char* dicFile) -> void* {
            return new Hunspell(affFile, dicFile);
        },
        [](void* dictionary) { delete static_cast<Hunspell*>(dictionary); },
        [](void* dictionary) { return std::string(of(dictionary).get_dic_encoding()); },
        [](void* dictionary, const std::string& word) { return of(dictionary).spell(word); },
        [](void* dictionary, const std::string& word) { of(dictionary).add(word); },
        [](void* dictionary, const std::string& word) { return of(dictionary).suggest(word); },
    };
    return table;
}
