// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where Plumora keeps its files.
//
// The program folder P holds data.plm and the files the user's data depends on. It is
// PLUMORA_HOME when set; else the executable's folder when it already holds a data.plm; else,
// for an installed copy (its read-only resources under ../share/plumora), the user's
// $XDG_DATA_HOME/plumora; else the executable's folder when the user can write to it (a
// copied build folder stays portable); else $XDG_DATA_HOME/plumora.
//
// Read-only resources (data.src, help/, Icons/, reminder.wav, the holiday list) are looked
// up in P first, then beside the executable, then in the installed share folder. Helper
// programs (ShutDown) are looked up beside the executable, then in ../libexec/plumora.
class AppPaths {
public:
    AppPaths(QString programFolder, QString executableFolder);

    // P chosen from the environment; an installed copy's data folder is created mode 0700.
    static AppPaths fromEnvironment();

    // What decides P, apart from the environment, so the rule can be tested.
    struct Choice {
        QString home;             // PLUMORA_HOME, or empty
        QString executableFolder; // the program's own folder
        QString dataHome;         // $XDG_DATA_HOME (or ~/.local/share)
    };
    enum class Kind { Home, Portable, Installed };
    static Kind choose(const Choice& choice);
    static QString programFolderFor(const Choice& choice);

    const QString& programFolder() const { return m_program; }
    const QString& executableFolder() const { return m_executable; }
    // Where an installed copy keeps its read-only resources: ../share/plumora.
    QString shareFolder() const;
    // Run from an installed layout (resources under ../share/plumora), with its data in the
    // user's home rather than beside it.
    bool isInstalledCopy() const;

    // P + "/" + name: where a file of the program folder lives (data.plm, temp.plm, rmwav).
    QString file(const QString& name) const;
    // A read-only resource: P, then beside the executable, then the share folder.
    QString resource(const QString& name) const;
    // A helper program: beside the executable, then ../libexec/plumora.
    QString helperProgram(const QString& name) const;

    QString dataFile() const { return file(QStringLiteral("data.plm")); }
    QString templateFile() const { return resource(QStringLiteral("data.src")); }
    QString replacementFile() const { return file(QStringLiteral("temp.plm")); }

private:
    QString m_program;
    QString m_executable;
};
