// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// The machine's sleep as the program sees it: a delay lock that holds a coming sleep back
// for a moment, and word before the sleep and after the wake. Without a login manager
// that offers this, nothing is held and nothing is told.
class SleepInhibitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Takes the delay lock (again); answered later, and only when the service is there.
    virtual void hold() = 0;
    // Lets the sleep go ahead.
    virtual void release() = 0;
    virtual bool holding() const = 0;

Q_SIGNALS:
    // The machine is about to sleep; the lock, if held, keeps it waiting until release().
    void aboutToSleep();
    // The machine woke up.
    void resumed();
};
