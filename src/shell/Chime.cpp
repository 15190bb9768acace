// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Chime.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Chime {

namespace {

struct Partial {
    double ratio;     // of the note's fundamental
    double amplitude; // relative
    double decay;     // per second; higher partials fade sooner, as a bell's do
};

// A slightly stretched fourth partial gives the bell colour without sounding out of tune.
constexpr Partial Partials[] = {
    {1.0, 1.0, 3.2},
    {2.0, 0.45, 5.0},
    {3.0, 0.18, 7.5},
    {4.2, 0.08, 11.0},
};

struct Note {
    double start; // seconds
    double frequency;
    double gain;
};

// E5, then C5: a falling major third.
constexpr Note Notes[] = {
    {0.0, 659.25, 1.0},
    {0.28, 523.25, 0.9},
};

constexpr double AttackSeconds = 0.006; // no click at the onset
constexpr double FadeSeconds = 0.08;    // ends in silence, not mid-wave
constexpr double Peak = 0.6;            // of full scale: pleasant, never clipped

void appendLe16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void appendLe32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

std::vector<qint16> samples() {
    const int count = int(SampleRate * Seconds);
    std::vector<double> mix(count, 0.0);
    for (const Note& note : Notes) {
        const int first = int(note.start * SampleRate);
        for (int i = first; i < count; ++i) {
            const double t = double(i - first) / SampleRate;
            const double attack = std::min(1.0, t / AttackSeconds);
            double v = 0;
            for (const Partial& p : Partials)
                v += p.amplitude * std::exp(-p.decay * t) *
                     std::sin(2 * std::numbers::pi * note.frequency * p.ratio * t);
            mix[i] += note.gain * attack * v;
        }
    }
    double loudest = 0;
    for (double v : mix)
        loudest = std::max(loudest, std::abs(v));
    const double scale = loudest > 0 ? Peak * 32767 / loudest : 0;
    const int fadeFrom = count - int(FadeSeconds * SampleRate);
    std::vector<qint16> out(count);
    for (int i = 0; i < count; ++i) {
        double v = mix[i] * scale;
        if (i >= fadeFrom)
            v *= double(count - 1 - i) / (count - 1 - fadeFrom);
        out[i] = qint16(std::lround(v));
    }
    return out;
}

QByteArray wav() {
    const std::vector<qint16> pcm = samples();
    const quint32 dataBytes = quint32(pcm.size() * sizeof(qint16));
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF");
    appendLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    appendLe32(out, 16);             // size of the fmt chunk
    appendLe16(out, 1);              // PCM
    appendLe16(out, 1);              // mono
    appendLe32(out, SampleRate);     // frames per second
    appendLe32(out, SampleRate * 2); // bytes per second
    appendLe16(out, 2);              // bytes per frame
    appendLe16(out, 16);             // bits per sample
    out.append("data");
    appendLe32(out, dataBytes);
    for (qint16 s : pcm)
        appendLe16(out, quint16(s));
    return out;
}

} // namespace Chime
