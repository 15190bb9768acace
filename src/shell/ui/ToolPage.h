// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dialogs.h"

#include <QWidget>

class QMenu;

// A tool's page inside the main window. The main window shows one page at a time, filling
// its client area, and tells the page what happens to it through these calls; it knows
// nothing else of a tool. A page's objectName names its help topic (lower case + ".htm")
// and its windowTitle is the caption shown in the status bar. A page owns its own
// context menus.
class ToolPage : public QWidget {
    Q_OBJECT
public:
    explicit ToolPage(QWidget* parent = nullptr) : QWidget(parent) {}

    // The page was chosen and is being shown.
    virtual void activated() {}
    // Another page is about to be shown, or the main window closes: keep what is unsaved.
    virtual void aboutToHide() {}
    // The program is about to end or the machine to sleep: keep everything, including what a
    // page otherwise keeps only when its window closes.
    virtual void keepEverything() { aboutToHide(); }
    // At "Unload Plumora" and as the main window closes, before anything closes: keeps what
    // is unsaved as aboutToHide() does, without a message. False, with `failure` set to a
    // SaveFailures::failedText(), when that failed; the page still holds the work.
    virtual bool keepForUnload(QString* failure) {
        Q_UNUSED(failure);
        return true;
    }
    // The user chose to quit, or to close the window, anyway: what could not be kept is given
    // up without another message.
    virtual void giveUpUnsaved() {}
    // The client area changed size; the page has already been given the new size.
    virtual void hostResized() {}
    // The page's own menu, which the main window's menu bar shows beside its own menus while
    // the page is shown; none by default. The page owns it.
    virtual QMenu* pageMenu() { return nullptr; }

    // The one way a page tells the user something: what failed gets the warning icon,
    // anything else the information icon.
    enum class Message { Failure, Notice };
    static void tell(Dialogs& dialogs, const QString& text, Message kind = Message::Failure,
                     const QString& title = QStringLiteral("Plumora")) {
        dialogs.messageBox(text, title, MessageButtons::Ok,
                           kind == Message::Failure ? MessageIcon::Warning
                                                    : MessageIcon::Information);
    }
};
