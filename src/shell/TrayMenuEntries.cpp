// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/TrayMenuEntries.h"

#include "shell/ShellTables.h"

namespace TrayMenuEntries {

QList<Entry> build(const QList<Tool>& tools) {
    QList<QList<Entry>> groups;
    for (const Tool& tool : tools) {
        if (groups.isEmpty() || tool.startsGroup)
            groups.append(QList<Entry>());
        groups.last().append(Entry{tool.index, tool.caption});
    }
    auto own = [](int index) { return Entry{index, TrayMenu::caption(index)}; };
    groups.append({own(TrayMenu::ShowReminder)});
    groups.append({own(TrayMenu::Help), own(TrayMenu::About), own(TrayMenu::Web)});
    groups.append({own(TrayMenu::Unload)});
    QList<Entry> entries;
    for (const QList<Entry>& group : std::as_const(groups)) {
        if (!entries.isEmpty())
            entries.append(Entry{});
        entries.append(group);
    }
    return entries;
}

QString exportedLabel(const QString& caption) {
    QString label;
    label.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c == u'_') {
            label += QStringLiteral("__");
        } else if (c == u'&' && i + 1 < caption.size()) {
            const QChar next = caption.at(++i);
            label += next == u'&'   ? QStringLiteral("&")
                     : next == u'_' ? QStringLiteral("__")
                                    : QString(u'_') + next;
        } else {
            label += c;
        }
    }
    return label;
}

DBusMenuNode exported(const QList<Entry>& entries) {
    DBusMenuNode root;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry& e = entries.at(i);
        DBusMenuNode item;
        if (e.isSeparator()) {
            item.id = LineIds + int(i);
            item.properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
        } else {
            item.id = e.index + 1;
            item.properties.insert(QStringLiteral("label"), exportedLabel(e.caption));
            // Hosts take a missing "enabled" for true.
            if (!e.enabled)
                item.properties.insert(QStringLiteral("enabled"), false);
        }
        root.children << item;
    }
    return root;
}

int indexOfId(int id) {
    return id > 0 && id < LineIds ? id - 1 : -1;
}

} // namespace TrayMenuEntries
