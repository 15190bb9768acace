// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Settings.h"

#include <QVariant>

// What a System column may hold for the program to use it. A stored value outside that is
// brought inside when it is read (the file is left as it is): a number to its range, a
// text to its length, a date that does not read as one to "no date", an infinite or NaN
// number to the field's default. Only a missing value (NULL) or text that is no number in
// a number column still makes a settings reload stop there.
namespace SettingsBounds {

inline constexpr int MaxTextLength = 4096;

struct Range {
    double low;
    double high;
};
Range rangeOf(Settings::Field field);

QVariant bounded(Settings::Field field, const QVariant& stored);

} // namespace SettingsBounds
