// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLibrary>
#include <QString>

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
