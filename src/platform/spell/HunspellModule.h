// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>
#include <vector>

// Hunspell is a module of its own in the program (libplumora_hunspell.so, see
// platform/Module.h), loaded when the first spell checker is made, so a session that checks
// no spelling never loads it; tests link the code in instead. The checker calls it through
// this table either way.
namespace HunspellModule {

struct Entries {
    // A dictionary from its affix and word files (encoded file names); never null.
    void* (*open)(const char* affFile, const char* dicFile);
    void (*close)(void* dictionary);
    // The dictionary's declared encoding ("UTF-8", "ISO8859-1").
    std::string (*encoding)(void* dictionary);
    bool (*spell)(void* dictionary, const std::string& word);
    void (*add)(void* dictionary, const std::string& word);
    std::vector<std::string> (*suggest)(void* dictionary, const std::string& word);
};

// The module's file (AppPaths::helperProgram); set before the first checker is made.
// Nothing to do where the code is linked in.
void use(const QString& path);

// The table, or null when the module could not be loaded (failure() says why).
const Entries* entries();

// Why the module could not be loaded; empty while it works (and always where linked in).
QString failure();

// The table of the linked-in code, which the module hands out as it is.
const Entries& linkedEntries();

} // namespace HunspellModule
