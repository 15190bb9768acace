// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class AppPaths;
class QString;

namespace ReminderSound {

// The file the reminder plays: "rmwav" in the program folder, which the Options window
// writes from the user's chosen sound. When it is missing it is copied from the chime
// shipped beside the program. Empty when there is still no file to play.
QString prepare(const AppPaths& paths);

} // namespace ReminderSound
