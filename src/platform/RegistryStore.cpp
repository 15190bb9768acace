// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryStore.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
// QSettings reads "\" and "/" as group separators; our keys use "\".
QString settingsKey(const QString& root, const QString& key, const QString& name) {
    QString path = root + QLatin1Char('/') + key + QLatin1Char('/') + name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}
// Values were read into a 256-character buffer with its NUL; longer ones read as "".
constexpr int MaxValueLength = 255;
} // namespace

RegistryStore::RegistryStore(QString iniPath) : m_path(std::move(iniPath)) {}

QString RegistryStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/plumora/registry.ini");
}

QString RegistryStore::readString(const QString& root, const QString& key,
                                  const QString& name) const {
    const QSettings store(m_path, QSettings::IniFormat);
    if (store.status() != QSettings::NoError)
        return {};
    const QVariant v = store.value(settingsKey(root, key, name));
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return {};
    const QString text = v.toString();
    return text.size() > MaxValueLength ? QString() : text;
}

void RegistryStore::writeString(const QString& root, const QString& key, const QString& name,
                                const QString& text) {
    QSettings store(m_path, QSettings::IniFormat);
    store.setValue(settingsKey(root, key, name), text);
    store.sync();
}
