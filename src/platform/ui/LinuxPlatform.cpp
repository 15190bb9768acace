#include "platform/ui/LinuxPlatform.h"

#include "platform/DesktopEntries.h"
#include "platform/SystemServices.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <QWidget>

LinuxPlatform::LinuxPlatform(QString registryPath) : m_registry(std::move(registryPath)) {}

bool LinuxPlatform::IsWindowOpen(const QString& title) const {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [&](const QWidget* w) {
        return w->isWindow() && w->windowTitle() == title;
    });
}

namespace {
QScreen* currentScreen() {
    QScreen* s = QGuiApplication::screenAt(QCursor::pos());
    return s ? s : QGuiApplication::primaryScreen();
}
} // namespace

int LinuxPlatform::GetWorkAreaBottom() const {
    const QRect r = workArea();
    return r.y() + r.height();
}

QRect LinuxPlatform::screenGeometry() const {
    QScreen* s = currentScreen();
    return s ? s->geometry() : QRect();
}

QRect LinuxPlatform::workArea() const {
    QScreen* s = currentScreen();
    return s ? s->availableGeometry() : QRect();
}

QPoint LinuxPlatform::cursorPos() const {
    return QCursor::pos();
}

void LinuxPlatform::MakeTopmost(QWidget* window) {
    if (!window)
        return;
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Changing window flags hides a window; bring it back where it was.
    if (visible)
        window->show();
    window->raise();
}

bool LinuxPlatform::ShowFormSafely(QWidget* window, bool modal) {
    if (!window)
        return false;
    if (modal) {
        if (auto* dialog = qobject_cast<QDialog*>(window)) {
            dialog->exec();
            return true;
        }
        window->setWindowModality(Qt::ApplicationModal);
    }
    window->show();
    return window->isVisible();
}

void LinuxPlatform::OpenUrlInBrowser(const QString& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

void LinuxPlatform::OpenMailProgram() {
    const DesktopEntries::Entry entry =
        DesktopEntries::find(SystemServices::defaultMailProgram().desktopId);
    if (entry.valid)
        StartProgram(entry.exec.first(), entry.exec.mid(1), QString());
}

bool LinuxPlatform::StartProgram(const QString& program, const QStringList& arguments,
                                 const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

QString LinuxPlatform::ReadRegistryString(const QString& root, const QString& key,
                                          const QString& name) const {
    return m_registry.read(root, key, name);
}

void LinuxPlatform::WriteRegistryString(const QString& root, const QString& key,
                                        const QString& name, const QString& text) {
    m_registry.write(root, key, name, text);
}

QString LinuxPlatform::GetSpecialFolderPath(SpecialFolder folder) const {
    return SystemServices::specialFolderPath(folder);
}

QString LinuxPlatform::BrowseForFolder(QWidget* owner, const QString& initialPath) {
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("Please select a folder:"),
                                             initialPath, QFileDialog::ShowDirsOnly);
}

bool LinuxPlatform::IsOnline() {
    return SystemServices::isOnline();
}

MessageAnswer LinuxPlatform::MessageBox(const QString& text, const QString& title,
                                        MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(
        icon == MessageIcon::Question ? QMessageBox::Question : QMessageBox::Information, title,
        text,
        buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
}
