// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ReminderSound.h"

#include "base/AppPaths.h"

#include <QFile>
#include <QString>

namespace ReminderSound {

QString prepare(const AppPaths& paths) {
    const QString target = paths.file(QStringLiteral("rmwav"));
    if (QFile::exists(target))
        return target;
    const QString shipped = paths.resource(QStringLiteral("reminder.wav"));
    if (!QFile::exists(shipped) || !QFile::copy(shipped, target))
        return {};
    // A copy keeps the read-only bits of an installed resource; the user's sound must be
    // replaceable by the Options window.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    return target;
}

} // namespace ReminderSound
