// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniFile.h"

#include "platform/RegularFile.h"

IniFile IniFile::parse(const QByteArray& text) {
    IniFile ini;
    Group* current = nullptr;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2);
            if (!ini.m_groups.contains(name))
                ini.m_order << name;
            current = &ini.m_groups[name];
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!current->contains(key))
            current->insert(key, line.mid(eq + 1).trimmed());
    }
    return ini;
}

IniFile IniFile::read(const QString& path, qint64 maxBytes) {
    const std::optional<QByteArray> text = RegularFile::read(path, maxBytes);
    return text ? parse(*text) : IniFile();
}

QString IniFile::value(const QString& group, const QString& key) const {
    const auto it = m_groups.constFind(group);
    return it == m_groups.constEnd() ? QString() : it->value(key);
}
