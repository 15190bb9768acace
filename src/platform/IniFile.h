// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The "[Group]" and "key=value" files other programs keep (desktop entries, MIME lists,
// mimeinfo.cache, Thunderbird's profiles.ini), read without trusting them: only regular
// files, never more than MaxBytes, and never through a reader that writes back.
class IniFile {
public:
    using Group = QHash<QString, QString>;

    static constexpr qint64 MaxBytes = 4 * 1024 * 1024;

    // Blank lines and comments ("#" or ";" first) are skipped; keys and values are trimmed;
    // the first value of a key in a group counts. Lines before the first group are ignored.
    static IniFile parse(const QByteArray& text);
    // parse() of `path`; empty when it is not a regular file, cannot be read or is too large.
    static IniFile read(const QString& path, qint64 maxBytes = MaxBytes);

    // The groups in the order the file has them.
    const QStringList& groups() const { return m_order; }
    QString value(const QString& group, const QString& key) const;
    bool isEmpty() const { return m_order.isEmpty(); }

private:
    QStringList m_order;
    QHash<QString, Group> m_groups;
};
