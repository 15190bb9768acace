#include "platform/ui/QtWindowSystem.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace {
QScreen* currentScreen() {
    QScreen* s = QGuiApplication::screenAt(QCursor::pos());
    return s ? s : QGuiApplication::primaryScreen();
}
} // namespace

bool QtWindowSystem::isWindowOpen(const QString& title) const {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [&](const QWidget* w) {
        return w->isWindow() && w->windowTitle() == title;
    });
}

QRect QtWindowSystem::screenGeometry() const {
    QScreen* s = currentScreen();
    return s ? s->geometry() : QRect();
}

QRect QtWindowSystem::workArea() const {
    QScreen* s = currentScreen();
    return s ? s->availableGeometry() : QRect();
}

QList<QRect> QtWindowSystem::screens() const {
    QList<QRect> all;
    for (const QScreen* s : QGuiApplication::screens())
        all << s->geometry();
    return all;
}

QRect QtWindowSystem::workAreaOf(const QRect& screen) const {
    for (const QScreen* s : QGuiApplication::screens())
        if (s->geometry() == screen)
            return s->availableGeometry();
    return screen;
}

QPoint QtWindowSystem::cursorPos() const {
    return QCursor::pos();
}

void QtWindowSystem::makeTopmost(QWidget* window) {
    if (!window)
        return;
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Changing window flags hides a window; bring it back where it was.
    if (visible)
        window->show();
    window->raise();
}

bool QtWindowSystem::showWindow(QWidget* window, bool modal) {
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

MessageAnswer QtDialogs::messageBox(const QString& text, const QString& title,
                                    MessageButtons buttons, MessageIcon icon) {
    QMessageBox::Icon shown = QMessageBox::Information;
    if (icon == MessageIcon::Question)
        shown = QMessageBox::Question;
    else if (icon == MessageIcon::Warning)
        shown = QMessageBox::Warning;
    QMessageBox box(shown, title, text,
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                    : buttons == MessageButtons::Ok  ? QMessageBox::Ok
                                                     : QMessageBox::NoButton);
    if (buttons == MessageButtons::QuitAnywayStay) {
        box.addButton(QStringLiteral("Quit anyway"), QMessageBox::YesRole)
            ->setAccessibleName(QStringLiteral("Quit anyway"));
        QPushButton* stay = box.addButton(QStringLiteral("Stay"), QMessageBox::NoRole);
        stay->setAccessibleName(QStringLiteral("Stay"));
        box.setDefaultButton(stay);
        box.setEscapeButton(stay);
        box.exec();
        return box.clickedButton() == stay ? MessageAnswer::No : MessageAnswer::Yes;
    }
    // Messages quote file names, error texts and the user's own words: never markup.
    box.setTextFormat(Qt::PlainText);
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

QString QtDialogs::browseForFolder(QWidget* owner, const QString& initialPath) {
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("Please select a folder:"),
                                             initialPath, QFileDialog::ShowDirsOnly);
}
