#include "core/SettingsCheck.h"

#include "core/DataFile.h"
#include "core/SystemRow.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {
const QString NotifyAgo = QStringLiteral("NotifyAgo");
const QString CheckSum = QStringLiteral("CheckSum");
constexpr int NeverStarted = 255;
} // namespace

void restrictToOwner(const QString& path) {
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

SettingsCheck::SettingsCheck(AppPaths paths, AccountSource discoverAccount)
    : m_paths(std::move(paths)), m_discoverAccount(std::move(discoverAccount)) {}

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
    SystemRow row;

    auto open = [&] {
        db.reset();
        db.emplace(m_paths.dataFile());
        return db->isOpen() && row.load(*db);
    };
    auto step = [&](auto&& statement) {
        if (statement())
            return;
        ++result.failedSteps;
        if (recoverFromReplacement()) {
            result.recovered = true;
            open();
        }
    };

    step([&] { return copyTemplate(); });
    step(open);
    step([&] {
        if (!row.isLoaded())
            return false;
        if (row.integer(NotifyAgo) != NeverStarted)
            return true;
        // The help opens only once the mark is gone, or a read-only file would open it forever.
        result.firstRun = row.set(*db, NotifyAgo, 2);
        return result.firstRun;
    });
    step([&] {
        if (!row.isLoaded())
            return false;
        return row.integer(CheckSum) <= 0 || row.set(*db, CheckSum, -1);
    });
    step([&] {
        if (!row.isLoaded())
            return false;
        return syncDefaultAccount(*db, row,
                                  m_discoverAccount ? m_discoverAccount() : MailAccount{});
    });
    return result;
}
