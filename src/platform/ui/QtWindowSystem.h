// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dialogs.h"
#include "platform/WindowSystem.h"

// Qt's own windows and screens.
class QtWindowSystem final : public WindowSystem {
public:
    bool isWindowOpen(const QString& title) const override;
    QRect screenGeometry() const override;
    QRect workArea() const override;
    QList<QRect> screens() const override;
    QRect workAreaOf(const QRect& screen) const override;
    QRect primaryScreen() const override;
    QPoint cursorPos() const override;
    void makeTopmost(QWidget* window) override;
    bool showWindow(QWidget* window, bool modal) override;
};

// Qt's message box, file and folder pickers and colour picker.
class QtDialogs final : public Dialogs {
public:
    MessageAnswer messageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override;
    QString browseForFolder(QWidget* owner, const QString& initialPath) override;
    QStringList openFiles(QWidget* owner, const QString& title, const QString& filter) override;
    QString openFile(QWidget* owner, const QString& title, const QString& startPath,
                     const QString& filter) override;
    QString saveFile(QWidget* owner, const QString& title, const QString& suggestedPath,
                     const QString& filter, SaveChoices* choices) override;
    QColor chooseColour(QWidget* owner, const QColor& initial, const QString& title) override;
};
