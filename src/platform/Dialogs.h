#pragma once

#include <QString>

class QWidget;

// YesNoDefaultNo: a question whose Yes destroys something, so Return answers No.
// QuitAnywayStay: "Quit anyway" answers Yes, "Stay" (also Escape) No.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo, QuitAnywayStay };
enum class MessageIcon { Information, Question, Warning };
enum class MessageAnswer { Ok, Yes, No };

// The standard dialogs Plumora asks the user through, so that the logic that asks runs in
// tests against recorded answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer messageBox(const QString& text, const QString& title,
                                     MessageButtons buttons, MessageIcon icon) = 0;
    // The folder picker; "" when cancelled.
    virtual QString browseForFolder(QWidget* owner, const QString& initialPath) = 0;
};
