// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/WallpaperRotation.h"

#include <QRandomGenerator>

#include <algorithm>

namespace WallpaperRotation {

RandomSource systemRandom() {
    return [] { return QRandomGenerator::global()->generateDouble(); };
}

bool isChangeDue(int option, const QDate& lastDay, const QDate& today) {
    switch (option) {
    case EveryWeek:
        if (!lastDay.isValid())
            return false;
        return lastDay.daysTo(today) > 6 || (today.dayOfWeek() == Qt::Sunday && lastDay != today);
    case EveryDay:
        return lastDay.isValid() && lastDay != today;
    case EveryStart:
        return true;
    default:
        return false;
    }
}

int drawIndex(const QStringList& files, const QString& currentFile, const RandomSource& random) {
    if (files.isEmpty())
        return -1;
    const QString current = currentFile.trimmed();
    QList<int> others;
    others.reserve(files.size());
    for (int i = 0; i < files.size(); ++i) {
        if (files[i].trimmed().compare(current, Qt::CaseInsensitive) != 0)
            others.append(i);
    }
    const qsizetype count = others.isEmpty() ? files.size() : others.size();
    // Guard a source that returns 1.0 or a negative value.
    const qsizetype pick = std::clamp<qsizetype>(qsizetype(random() * double(count)), 0, count - 1);
    return others.isEmpty() ? int(pick) : others[pick];
}

std::optional<Decision> decide(const Input& input, const RandomSource& random) {
    if (input.option == Never || input.files.isEmpty())
        return std::nullopt;
    if (!isChangeDue(input.option, input.lastDay, input.today))
        return std::nullopt;
    const int index = drawIndex(input.files, input.currentFile, random);
    const QString file = input.files[index].trimmed();
    return Decision{file, file, input.today};
}

} // namespace WallpaperRotation
