#include "core/SettingsCheck.h"

#include "core/DataFile.h"
#include "core/Log.h"
#include "core/Migrations.h"
#include "core/Settings.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {
constexpr int NeverStarted = 255;
} // namespace

void restrictToOwner(const QString& path) {
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

SettingsCheck::SettingsCheck(AppPaths paths) : m_paths(std::move(paths)) {}

bool SettingsCheck::copyTemplate() {
    const QString data = m_paths.dataFile();
    if (QFileInfo::exists(data))
        return true;
    const QString tmp = data + QStringLiteral(".new");
    QFile::remove(tmp);
    // Copy under another name first, so an interrupted copy never leaves a half data file.
    if (!QFile::copy(m_paths.templateFile(), tmp))
        return false;
    restrictToOwner(tmp);
    if (!QFile::rename(tmp, data)) {
        QFile::remove(tmp);
        return false;
    }
    return true;
}

bool SettingsCheck::recoverFromReplacement() {
    const QString data = m_paths.dataFile();
    const QString replacement = m_paths.replacementFile();
    if (!QFileInfo::exists(replacement))
        return false;
    if (QFileInfo::exists(data)) {
        QString kept = data + QStringLiteral(".damaged");
        for (int n = 2; QFileInfo::exists(kept); ++n)
            kept = data + QStringLiteral(".damaged-") + QString::number(n);
        if (!QFile::rename(data, kept))
            return false;
    }
    if (!QFile::rename(replacement, data))
        return false;
    restrictToOwner(data);
    return true;
}

SettingsCheck::Result SettingsCheck::run() {
    Result result;
    std::optional<DataFile> db;
    Settings settings;
    bool loaded = false;

    auto open = [&] {
        db.reset();
        db.emplace(m_paths.dataFile());
        loaded = db->isOpen() && SettingsStore::read(*db, settings).rowRead;
        return loaded;
    };
    auto step = [&](const char* name, auto&& statement) {
        if (statement())
            return;
        ++result.failedSteps;
        qCWarning(lcStartup) << "start-up step failed:" << name;
        if (recoverFromReplacement()) {
            result.recovered = true;
            open();
        }
    };
    // A step that writes one setting, on the row read by `open`.
    auto write = [&](auto&& change) {
        Settings updated = settings;
        change(updated);
        if (!SettingsStore::save(*db, settings, updated))
            return false;
        settings = updated;
        return true;
    };

    step("copy the template", [&] { return copyTemplate(); });
    step("open the data file", open);
    // A file that cannot take the new schema (read-only, say) still works, only slower; it
    // is never a reason to replace it.
    if (loaded && Migrations::run(*db) == Migrations::Outcome::Failed)
        qCWarning(lcStartup) << "data file schema not brought up to date";
    step("first run", [&] {
        if (!loaded)
            return false;
        if (settings.notifyAgo != NeverStarted)
            return true;
        // The help opens only once the mark is gone, or a read-only file would open it forever.
        result.firstRun = write([](Settings& s) { s.notifyAgo = 2; });
        return result.firstRun;
    });
    step("small icons", [&] {
        if (!loaded)
            return false;
        return settings.smallIcons <= 0 || write([](Settings& s) { s.smallIcons = -1; });
    });
    return result;
}
