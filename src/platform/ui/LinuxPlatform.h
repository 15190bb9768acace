#pragma once

#include "platform/Platform.h"
#include "platform/RegistryStore.h"

// The real desktop: Qt's windows and screens, freedesktop associations, the INI settings
// store and the network backend.
class LinuxPlatform final : public Platform {
public:
    explicit LinuxPlatform(QString registryPath = RegistryStore::defaultPath());

    bool IsWindowOpen(const QString& title) const override;
    int GetWorkAreaBottom() const override;
    QRect screenGeometry() const override;
    QRect workArea() const override;
    QPoint cursorPos() const override;
    void MakeTopmost(QWidget* window) override;
    bool ShowFormSafely(QWidget* window, bool modal) override;

    void OpenUrlInBrowser(const QString& address) override;
    void OpenMailProgram() override;
    bool StartProgram(const QString& program, const QStringList& arguments,
                      const QString& workingFolder) override;

    QString ReadRegistryString(const QString& root, const QString& key,
                               const QString& name) const override;
    void WriteRegistryString(const QString& root, const QString& key, const QString& name,
                             const QString& text) override;
    QString GetSpecialFolderPath(SpecialFolder folder) const override;
    QString BrowseForFolder(QWidget* owner, const QString& initialPath) override;

    bool IsOnline() override;

    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;

private:
    RegistryStore m_registry;
};
