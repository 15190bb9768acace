// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/GnomeKeybindings.h"

#include "base/Log.h"
#include "platform/ProcessRunner.h"

namespace {
const QString Gsettings = QStringLiteral("gsettings");
const QString ListKey = QStringLiteral("custom-keybindings");

// A GVariant string as gsettings reads it.
QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

QString unquoted(QString printed) {
    printed = printed.trimmed();
    if (printed.size() >= 2 && (printed.front() == u'\'' || printed.front() == u'"') &&
        printed.back() == printed.front()) {
        printed = printed.mid(1, printed.size() - 2);
        printed.replace(QStringLiteral("\\'"), QStringLiteral("'"))
            .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    }
    return printed;
}
} // namespace

bool GnomeKeybindings::isGnome(const QString& currentDesktop) {
    return currentDesktop.split(u':').contains(QStringLiteral("GNOME"), Qt::CaseInsensitive);
}

QString GnomeKeybindings::accelerator(const QKeySequence& key) {
    if (key.isEmpty())
        return {};
    const QKeyCombination combination = key[0];
    QString text;
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (modifiers & Qt::ControlModifier)
        text += QStringLiteral("<Control>");
    if (modifiers & Qt::AltModifier)
        text += QStringLiteral("<Alt>");
    if (modifiers & Qt::ShiftModifier)
        text += QStringLiteral("<Shift>");
    if (modifiers & Qt::MetaModifier)
        text += QStringLiteral("<Super>");
    const Qt::Key k = combination.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return text + QChar(u'a' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return text + QChar(u'0' + (k - Qt::Key_0));
    // Qt's portable names are X's keysym names for the keys a shortcut takes (Print, F9,
    // Home), save a few.
    QString name = QKeySequence(k).toString(QKeySequence::PortableText);
    if (name == QLatin1String("PgUp"))
        name = QStringLiteral("Page_Up");
    else if (name == QLatin1String("PgDown"))
        name = QStringLiteral("Page_Down");
    else if (name == QLatin1String("Ins"))
        name = QStringLiteral("Insert");
    else if (name == QLatin1String("Del"))
        name = QStringLiteral("Delete");
    else if (name == QLatin1String("Esc"))
        name = QStringLiteral("Escape");
    return text + name;
}

QStringList GnomeKeybindings::parseList(const QByteArray& printed) {
    QString text = QString::fromUtf8(printed).trimmed();
    if (text.startsWith(QLatin1String("@as")))
        text = text.mid(3).trimmed();
    if (!text.startsWith(u'[') || !text.endsWith(u']'))
        return {};
    QStringList items;
    // Paths hold no quotes or commas, which is all this list holds.
    for (const QString& item : text.mid(1, text.size() - 2).split(u',', Qt::SkipEmptyParts))
        if (const QString value = unquoted(item); !value.isEmpty())
            items << value;
    return items;
}

QString GnomeKeybindings::formatList(const QStringList& items) {
    QStringList quotedItems;
    for (const QString& item : items)
        quotedItems << quoted(item);
    return u'[' + quotedItems.join(QStringLiteral(", ")) + u']';
}

QString GnomeKeybindings::entryPath(const QString& id) const {
    return QLatin1String(BasePath) + QStringLiteral("plumora-") + id + u'/';
}

QString GnomeKeybindings::write(const QString& id, const Binding& binding) {
    const QString path = entryPath(id);
    const QString entry = QLatin1String(EntrySchema) + u':' + path;
    const ProcessResult list =
        m_runner.run(Gsettings, {QStringLiteral("get"), QLatin1String(Schema), ListKey});
    if (!list.ok()) {
        qCWarning(lcStartup) << "gsettings cannot read GNOME's shortcuts:" << list.errorOutput;
        return tr("GNOME's keyboard shortcuts cannot be read (gsettings: %1).")
            .arg(QString::fromUtf8(list.errorOutput).trimmed());
    }
    for (const auto& [key, value] : {std::pair{QStringLiteral("name"), binding.name},
                                     std::pair{QStringLiteral("command"), binding.command},
                                     std::pair{QStringLiteral("binding"), binding.binding}}) {
        const ProcessResult set =
            m_runner.run(Gsettings, {QStringLiteral("set"), entry, key, quoted(value)});
        if (!set.ok())
            return tr("GNOME did not take the shortcut (gsettings: %1).")
                .arg(QString::fromUtf8(set.errorOutput).trimmed());
    }
    QStringList paths = parseList(list.output);
    if (!paths.contains(path)) {
        paths << path;
        const ProcessResult set = m_runner.run(
            Gsettings, {QStringLiteral("set"), QLatin1String(Schema), ListKey, formatList(paths)});
        if (!set.ok())
            return tr("GNOME did not take the shortcut (gsettings: %1).")
                .arg(QString::fromUtf8(set.errorOutput).trimmed());
    }
    return {};
}

std::optional<GnomeKeybindings::Binding> GnomeKeybindings::read(const QString& id) {
    const QString path = entryPath(id);
    const ProcessResult list =
        m_runner.run(Gsettings, {QStringLiteral("get"), QLatin1String(Schema), ListKey});
    if (!list.ok() || !parseList(list.output).contains(path))
        return std::nullopt;
    const QString entry = QLatin1String(EntrySchema) + u':' + path;
    Binding binding;
    for (auto [key, value] : {std::pair{QStringLiteral("name"), &binding.name},
                              std::pair{QStringLiteral("command"), &binding.command},
                              std::pair{QStringLiteral("binding"), &binding.binding}}) {
        const ProcessResult got = m_runner.run(Gsettings, {QStringLiteral("get"), entry, key});
        if (!got.ok())
            return std::nullopt;
        *value = unquoted(QString::fromUtf8(got.output));
    }
    return binding;
}
