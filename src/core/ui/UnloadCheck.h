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

// True when everything was kept or the user chose "Quit anyway" (the pages then give up
// what they could not keep); false when the user chose to stay, with every window as it was.
bool confirm(const QList<ToolPage*>& pages, Dialogs& dialogs);
// The same for the pages the main window has loaded (none when it was never opened).
bool confirm(const MainWindow* main, Dialogs& dialogs);

} // namespace UnloadCheck
