// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <vector>

// The reminder's sound, made here rather than taken from anywhere: two soft bell notes,
// a major third apart, each a few decaying sine partials. Mono, 16-bit PCM.
namespace Chime {

inline constexpr int SampleRate = 44100;
inline constexpr double Seconds = 1.2;

std::vector<qint16> samples();
// The samples as a complete WAV file.
QByteArray wav();

} // namespace Chime
