#include "core/SingleInstance.h"

SingleInstance::SingleInstance(const QString& programFolder)
    : m_lock(programFolder + QStringLiteral("/plumora.lock")) {
    // The lock holds the owner's pid; a lock whose process is gone counts as stale at once.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    if (m_lock.tryLock(0))
        return true;
    return m_lock.error() != QLockFile::LockFailedError;
}
