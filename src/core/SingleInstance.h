#pragma once

#include <QLockFile>
#include <QString>

// One running copy per program folder, by a lock file in it. A lock left by a copy that
// died is taken over; a folder where no lock can be written does not stop Plumora.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programFolder);

    // False only when another live copy holds the lock.
    bool acquire();

private:
    QLockFile m_lock;
};
