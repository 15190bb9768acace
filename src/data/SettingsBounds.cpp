// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SettingsBounds.h"

#include "data/DateText.h"

#include <algorithm>
#include <cmath>

namespace SettingsBounds {

namespace {

using Field = Settings::Field;

enum class Kind { Number, Text, Date };

Kind kindOf(Field field) {
    switch (field) {
    case Field::MailUser:
    case Field::MailServer:
    case Field::MailPassword:
    case Field::ReminderSound:
    case Field::CurrentWallpaper:
        return Kind::Text;
    case Field::LastHolidayUpdate:
    case Field::WallpaperLastDay:
        return Kind::Date;
    default:
        return Kind::Number;
    }
}

// The field's default as a stored number.
double defaultOf(Field field) {
    static const Settings defaults;
    switch (field) {
    case Field::NotifyAgo:
        return defaults.notifyAgo;
    case Field::ShowEvery:
        return defaults.showEvery;
    case Field::CheckMailMinutes:
        return defaults.checkMailMinutes;
    case Field::SmallIcons:
        return defaults.smallIcons;
    case Field::WallpaperOption:
        return defaults.wallpaperOption;
    default:
        return 0;
    }
}

} // namespace

Range rangeOf(Field field) {
    switch (field) {
    // 255 is the never-started mark.
    case Field::NotifyAgo:
        return {0, 255};
    // Minutes: at most a day.
    case Field::ShowEvery:
    case Field::CheckMailMinutes:
        return {1, 24 * 60};
    // Twips: far beyond any screen.
    case Field::WindowLeft:
    case Field::WindowTop:
    case Field::WindowWidth:
    case Field::WindowHeight:
        return {-10'000'000, 10'000'000};
    default:
        return {-1'000'000, 1'000'000};
    }
}

QVariant bounded(Field field, const QVariant& stored) {
    if (stored.isNull())
        return stored;
    switch (kindOf(field)) {
    case Kind::Text: {
        const QString text = stored.toString();
        return text.size() > MaxTextLength ? QVariant(text.left(MaxTextLength)) : stored;
    }
    case Kind::Date:
        return DateText::toDate(stored).isValid() ? stored : QVariant(QString());
    case Kind::Number:
        break;
    }
    bool ok = false;
    double number = stored.toDouble(&ok);
    if (!ok)
        return stored; // no number at all: not read
    if (!std::isfinite(number))
        number = defaultOf(field);
    const Range range = rangeOf(field);
    number = std::clamp(number, range.low, range.high);
    if (stored.typeId() == QMetaType::Double || stored.typeId() == QMetaType::Float)
        return number;
    return qlonglong(std::llround(number));
}

} // namespace SettingsBounds
