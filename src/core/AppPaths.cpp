#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

AppPaths::AppPaths(QString programFolder, QString executableFolder)
    : m_program(QDir::cleanPath(std::move(programFolder))),
      m_executable(QDir::cleanPath(std::move(executableFolder))) {}

AppPaths AppPaths::fromEnvironment() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString home = qEnvironmentVariable("PLUMORA_HOME");
    return AppPaths(home.isEmpty() ? exeDir : QDir(home).absolutePath(), exeDir);
}

QString AppPaths::file(const QString& name) const {
    return m_program + QLatin1Char('/') + name;
}

QString AppPaths::resource(const QString& name) const {
    const QString inProgram = file(name);
    if (QFileInfo::exists(inProgram) || m_executable == m_program)
        return inProgram;
    const QString besideExe = m_executable + QLatin1Char('/') + name;
    return QFileInfo::exists(besideExe) ? besideExe : inProgram;
}
