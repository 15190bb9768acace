// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QWidget;

// YesNoDefaultNo: a question whose Yes destroys something, so Return answers No.
// QuitAnywayStay: "Quit anyway" answers Yes, "Stay" (also Escape) No.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo, QuitAnywayStay };
enum class MessageIcon { Information, Question, Warning };
enum class MessageAnswer { Ok, Yes, No };

// Controls a save dialog shows under its file list, and what the user left in them.
struct SaveChoices {
    QString listLabel; // a drop-down list with this label, when `items` is not empty
    QStringList items;
    int item = 0;
    QString check; // a check box with this caption, when not empty
    bool checked = false;
};

// The standard dialogs Plumora asks the user through, so that the logic that asks runs in
// tests against recorded answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer messageBox(const QString& text, const QString& title,
                                     MessageButtons buttons, MessageIcon icon) = 0;
    // The folder picker; "" when cancelled.
    virtual QString browseForFolder(QWidget* owner, const QString& initialPath) = 0;
    // The file picker for existing files matching `filter` ("Name (*.ext)"); empty when
    // cancelled.
    virtual QStringList openFiles(QWidget* owner, const QString& title, const QString& filter) = 0;
    // The picker for one existing file, starting at `startPath`; "" when cancelled.
    virtual QString openFile(QWidget* owner, const QString& title, const QString& startPath,
                             const QString& filter) = 0;
    // The save picker, starting at `suggestedPath`; "" when cancelled. `choices` may be null.
    virtual QString saveFile(QWidget* owner, const QString& title, const QString& suggestedPath,
                             const QString& filter, SaveChoices* choices) = 0;
    // The colour picker titled `title`, starting at `initial`; an invalid colour when
    // cancelled.
    virtual QColor chooseColour(QWidget* owner, const QColor& initial, const QString& title) = 0;
};
