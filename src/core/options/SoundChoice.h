#pragma once

#include <QString>

class AppPaths;

// The reminder sound as the Options window handles it. The reminder and the mail notice
// play "rmwav" in the program folder; RmWav remembers which file the user chose.
namespace SoundChoice {

// The chosen file, or the reminder.wav shipped with the program when none was chosen.
QString current(const AppPaths& paths, const QString& reminderSound);
// What the sound button shows: the file name without its folder.
QString caption(const QString& path);
// Copies `chosen` to rmwav. The old rmwav is replaced only by a complete copy; false, with
// the old sound kept, when the file cannot be read or the copy cannot be written.
bool install(const AppPaths& paths, const QString& chosen);

} // namespace SoundChoice
