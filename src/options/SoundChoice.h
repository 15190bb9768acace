// SPDX-License-Identifier: GPL-3.0-or-later
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
// Whether `file` is a WAVE file the player can play: RIFF/WAVE with a format of PCM or
// floating-point samples, and its sound data.
bool isPlayableWave(const QByteArray& file);
// Copies `chosen` to rmwav. The old rmwav is replaced only by a complete copy; false, with
// the old sound kept and the reason in `error`, when the file cannot be read, is no sound
// that plays, or the copy cannot be written.
bool install(const AppPaths& paths, const QString& chosen, QString* error = nullptr);

} // namespace SoundChoice
