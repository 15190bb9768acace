#pragma once

#include "core/Settings.h"

#include <QVariant>

// What a System column may hold for the program to use it. A stored value outside that is
// brought inside when it is read (the file is left as it is): a number to its range, a
// text to its length, a date that does not read as one to "no date", anything that is not
// a number in a number column to the field's default. So no value makes a settings reload
// stop, except a missing one (NULL).
namespace SettingsBounds {

inline constexpr int MaxTextLength = 4096;

struct Range {
    double low;
    double high;
};
Range rangeOf(Settings::Field field);

QVariant bounded(Settings::Field field, const QVariant& stored);

} // namespace SettingsBounds
