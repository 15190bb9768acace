// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class Dialogs;
class MainWindow;
class ToolPage;

// "Unload Plumora" never drops work without the user's word: each loaded page keeps what it
// holds, and when some could not, one message says what and why and offers "Quit anyway"
// or "Stay".
namespace UnloadCheck {

// What is about to happen: the program ends ("Quit anyway" or "Stay"), or the main window
// closes with its pages (Yes closes it anyway, No keeps it open).
enum class Moment { Unload, CloseWindow };

// True when everything was kept or the user chose to go on (the pages then give up what
// they could not keep); false when the user chose to stay, with every window as it was.
bool confirm(const QList<ToolPage*>& pages, Dialogs& dialogs, Moment moment = Moment::Unload);
// The same for the pages the main window has loaded (none when it was never opened).
bool confirm(const MainWindow* main, Dialogs& dialogs, Moment moment = Moment::Unload);

} // namespace UnloadCheck
