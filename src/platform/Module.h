// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLibrary>
#include <QString>

#include <list>
#include <mutex>
#include <optional>

// A part of Plumora kept in a file of its own and loaded at its first use, so the libraries
// it needs (audio, printing) cost neither start-up time nor memory until then. A module is
// never unloaded: objects it made may outlive the caller.
class Module {
public:
    explicit Module(QString path = {}) : m_path(std::move(path)) {}

    // The module's file (AppPaths::helperProgram); takes effect before the first use.
    void setPath(const QString& path) { m_path = path; }

    // The entry point `name` as a function of type F, or nullptr when the module or the entry
    // is missing (the reason goes to the log).
    template <typename F> F entry(const char* name) { return reinterpret_cast<F>(resolve(name)); }

private:
    QFunctionPointer resolve(const char* name);

    QString m_path;
    QLibrary m_library;
};

// What a module offers (E: its entry points and the reason it failed), looked up once for the
// file last named, from whichever thread asks first. Naming another file looks again at the
// next request; a file once loaded stays, as its objects may live on.
template <typename E> class ModuleEntries {
public:
    using Load = E (*)(Module& module, const QString& path);
    explicit ModuleEntries(Load load) : m_load(load) {}

    void use(const QString& path) {
        const std::lock_guard lock(m_mutex);
        m_path = path;
        m_entries.reset();
    }
    E get() {
        const std::lock_guard lock(m_mutex);
        if (!m_entries)
            m_entries = m_load(m_modules.emplace_back(m_path), m_path);
        return *m_entries;
    }

private:
    Load m_load;
    std::mutex m_mutex;
    QString m_path;
    std::optional<E> m_entries;
    std::list<Module> m_modules;
};
