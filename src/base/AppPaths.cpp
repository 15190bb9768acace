// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AppPaths.h"

#include "base/FileReplace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString shareOf(const QString& executableFolder) {
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/plumora"));
}

QString dataFolder(const QString& dataHome) {
    return QDir::cleanPath(dataHome + QStringLiteral("/plumora"));
}

} // namespace

AppPaths::AppPaths(QString programFolder, QString executableFolder)
    : m_program(QDir::cleanPath(std::move(programFolder))),
      m_executable(QDir::cleanPath(std::move(executableFolder))) {}

AppPaths::Kind AppPaths::choose(const Choice& c) {
    if (!c.home.isEmpty())
        return Kind::Home;
    if (QFileInfo::exists(c.executableFolder + QStringLiteral("/data.plm")))
        return Kind::Portable;
    // An installed copy keeps its data in the user's home, even when run by someone who
    // could write to the program's folder (root).
    if (QFileInfo::exists(shareOf(c.executableFolder) + QStringLiteral("/data.src")))
        return Kind::Installed;
    return QFileInfo(c.executableFolder).isWritable() ? Kind::Portable : Kind::Installed;
}

QString AppPaths::programFolderFor(const Choice& c) {
    switch (choose(c)) {
    case Kind::Home:
        return QDir(c.home).absolutePath();
    case Kind::Portable:
        return c.executableFolder;
    case Kind::Installed:
        break;
    }
    return dataFolder(c.dataHome);
}

AppPaths AppPaths::fromEnvironment() {
    Choice c;
    c.home = qEnvironmentVariable("PLUMORA_HOME");
    c.executableFolder = QCoreApplication::applicationDirPath();
    c.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString program = programFolderFor(c);
    if (choose(c) == Kind::Installed && !QFileInfo::exists(program)) {
        QDir().mkpath(program);
        // The folder will hold the mail password.
        FileReplace::restrictFolderToOwner(program);
    }
    return AppPaths(program, c.executableFolder);
}

QString AppPaths::shareFolder() const {
    return shareOf(m_executable);
}

bool AppPaths::isInstalledCopy() const {
    return m_program != m_executable &&
           QFileInfo::exists(shareFolder() + QStringLiteral("/data.src"));
}

QString AppPaths::file(const QString& name) const {
    return m_program + QLatin1Char('/') + name;
}

QString AppPaths::resource(const QString& name) const {
    const QString inProgram = file(name);
    if (QFileInfo::exists(inProgram))
        return inProgram;
    for (const QString& folder : {m_executable, shareFolder()}) {
        const QString candidate = folder + QLatin1Char('/') + name;
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return inProgram;
}

QString AppPaths::helperProgram(const QString& name) const {
    const QString beside = m_executable + QLatin1Char('/') + name;
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed =
        QDir::cleanPath(m_executable + QStringLiteral("/../libexec/plumora/") + name);
    return QFileInfo::exists(installed) ? installed : beside;
}
