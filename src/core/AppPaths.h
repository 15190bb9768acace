#pragma once

#include <QString>

// Where Plumora keeps its files. The program folder P holds data.plm and the files the
// user's data depends on; read-only resources are looked up in P first, then beside the
// executable, so a PLUMORA_HOME folder needs only the data it owns.
class AppPaths {
public:
    AppPaths(QString programFolder, QString executableFolder);

    // P from PLUMORA_HOME when set, else the executable's folder.
    static AppPaths fromEnvironment();

    const QString& programFolder() const { return m_program; }
    const QString& executableFolder() const { return m_executable; }

    // P + "/" + name: where a file of the program folder lives (data.plm, temp.plm, rmwav).
    QString file(const QString& name) const;
    // A read-only resource (data.src, help/, Icons/, ShutDown): P first, then the executable's
    // folder.
    QString resource(const QString& name) const;

    QString dataFile() const { return file(QStringLiteral("data.plm")); }
    QString templateFile() const { return resource(QStringLiteral("data.src")); }
    QString replacementFile() const { return file(QStringLiteral("temp.plm")); }

private:
    QString m_program;
    QString m_executable;
};
