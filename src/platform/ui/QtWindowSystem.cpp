// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/QtWindowSystem.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
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

QRect QtWindowSystem::primaryScreen() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect();
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
    // Over the Plumora window the user works in (a main window or a dialog, not the tray
    // menu), so it appears there and not mid-screen.
    QWidget* over = QApplication::activeModalWidget();
    if (!over)
        over = QApplication::activeWindow();
    if (over && over->windowType() != Qt::Window && over->windowType() != Qt::Dialog)
        over = nullptr;
    // On the heap: should its window go meanwhile, it takes the box with it.
    const bool question = buttons != MessageButtons::Ok;
    const bool quitOrStay = buttons == MessageButtons::QuitAnywayStay;
    const QPointer<QMessageBox> box =
        new QMessageBox(shown, title, text,
                        quitOrStay ? QMessageBox::NoButton
                        : question ? QMessageBox::Yes | QMessageBox::No
                                   : QMessageBox::Ok,
                        over);
    QPushButton* stay = nullptr;
    if (quitOrStay) {
        const QString quit = QCoreApplication::translate("QtDialogs", "Quit anyway");
        box->addButton(quit, QMessageBox::YesRole)->setAccessibleName(quit);
        stay =
            box->addButton(QCoreApplication::translate("QtDialogs", "Stay"), QMessageBox::NoRole);
        stay->setAccessibleName(stay->text());
        box->setDefaultButton(stay);
        box->setEscapeButton(stay);
    } else {
        // A question that destroys something is not answered Yes by a stray Return.
        box->setDefaultButton(buttons == MessageButtons::YesNoDefaultNo ? QMessageBox::No
                              : question                                ? QMessageBox::Yes
                                                                        : QMessageBox::Ok);
    }
    // Messages quote file names, error texts and the user's own words: never markup.
    box->setTextFormat(Qt::PlainText);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    const int answer = box->exec();
    if (quitOrStay) {
        const bool quit = box && box->clickedButton() && box->clickedButton() != stay;
        delete box.data();
        return quit ? MessageAnswer::Yes : MessageAnswer::No;
    }
    delete box.data();
    switch (answer) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return question ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

QString QtDialogs::browseForFolder(QWidget* owner, const QString& initialPath) {
    return QFileDialog::getExistingDirectory(
        owner, QCoreApplication::translate("QtDialogs", "Please select a folder:"), initialPath,
        QFileDialog::ShowDirsOnly);
}

QColor QtDialogs::chooseColour(QWidget* owner, const QColor& initial, const QString& title) {
    return QColorDialog::getColor(initial, owner, title);
}

QStringList QtDialogs::openFiles(QWidget* owner, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileNames(owner, title, QString(), filter);
}

QString QtDialogs::openFile(QWidget* owner, const QString& title, const QString& startPath,
                            const QString& filter) {
    return QFileDialog::getOpenFileName(owner, title, startPath, filter);
}

QString QtDialogs::saveFile(QWidget* owner, const QString& title, const QString& suggestedPath,
                            const QString& filter, SaveChoices* choices) {
    QFileDialog dialog(owner, title, suggestedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QComboBox* list = nullptr;
    QCheckBox* check = nullptr;
    if (choices && (!choices->items.isEmpty() || !choices->check.isEmpty())) {
        // Qt's own dialog, so the choices can sit under its file list.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
        const int row = grid ? grid->rowCount() : 0;
        if (!choices->items.isEmpty()) {
            auto* label = new QLabel(choices->listLabel, &dialog);
            list = new QComboBox(&dialog);
            list->addItems(choices->items);
            list->setCurrentIndex(choices->item);
            list->setAccessibleName(QString(choices->listLabel).remove(u'&').remove(u':'));
            label->setBuddy(list);
            if (grid) {
                grid->addWidget(label, row, 0);
                grid->addWidget(list, row, 1);
            }
        }
        if (!choices->check.isEmpty()) {
            check = new QCheckBox(choices->check, &dialog);
            check->setChecked(choices->checked);
            if (grid)
                grid->addWidget(check, row + 1, 1);
        }
    }
    const QString suffix = filter.section(QStringLiteral("*."), 1).section(u')', 0, 0);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (list)
        choices->item = list->currentIndex();
    if (check)
        choices->checked = check->isChecked();
    return dialog.selectedFiles().front();
}
