// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Module.h"

#include "base/Log.h"

QFunctionPointer Module::resolve(const char* name) {
    if (!m_library.isLoaded()) {
        m_library.setFileName(m_path);
        if (!m_library.load()) {
            qCWarning(lcDesktop) << "module not loaded:" << m_library.errorString();
            return nullptr;
        }
    }
    const QFunctionPointer function = m_library.resolve(name);
    if (!function)
        qCWarning(lcDesktop) << "module entry missing:" << name << m_library.errorString();
    return function;
}
