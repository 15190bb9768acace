// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/SettingsCheck.h"

#include "base/FileReplace.h"
#include "base/Log.h"
#include "data/ChangeHub.h"
#include "data/DataFile.h"
#include "data/Migrations.h"
#include "data/SchemaCleanup.h"
#include "data/Settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <optional>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int NeverStarted = 255;
} // namespace

void restrictToOwner(const QString& path) {
    // The file itself, never what a link points to; the owner's own bits are kept, so a file
    // the user made read-only stays so.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        qCWarning(lcStartup) << "not restricted to its owner:" << path << qt_error_string(errno);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        (st.st_mode & 07777) != (st.st_mode & S_IRWXU))
        ::fchmod(fd, st.st_mode & S_IRWXU);
    ::close(fd);
}

bool isReadOnlyFile(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return !(st.st_mode & S_IWUSR) || ::access(QFile::encodeName(path).constData(), W_OK) != 0;
}

QString readOnlyDataFileMessage(const QString& dataFile) {
    return QCoreApplication::translate(
               "SettingsCheck",
               "Plumora's data file is read-only:\n%1\n\nPlumora shows what it holds "
               "but saves no change to it. To save changes again, make the file "
               "writable and start Plumora again.")
        .arg(dataFile);
}

QString unreadableDataFileMessage(const QString& dataFile, const QString& reason) {
    return QCoreApplication::translate(
               "SettingsCheck",
               "Plumora cannot read its data file:\n%1\n(%2)\n\n"
               "The file has been left exactly as it is. Until it can be read, your "
               "calendar, notes and settings are not shown, and changes cannot be "
               "saved.\n\nTwo ways back:\n"
               "- put a good copy of your data file beside it under the name "
               "temp.plm and start Plumora again; it takes the damaged file's place "
               "and the damaged file is kept as data.plm.damaged;\n"
               "- or restore a backup: Options, Restore.")
        .arg(dataFile, reason);
}

SettingsCheck::SettingsCheck(AppPaths paths, FileSchema schema, ChangeHub* changes)
    : m_paths(std::move(paths)), m_schema(std::move(schema)), m_changes(changes) {}

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

QString SettingsCheck::unreadableReason(const QString& error) const {
    const QString data = m_paths.dataFile();
    if (!QFileInfo::exists(data))
        return QCoreApplication::translate(
                   "SettingsCheck",
                   "the file is missing and could not be made from the template %1")
            .arg(m_paths.templateFile());
    // A change cut off by a crash leaves a journal that must be rolled back before the file
    // can be read; in a folder Plumora cannot write to, that never happens.
    const QString journal = data + QStringLiteral("-journal");
    if (QFileInfo::exists(journal) && !QFileInfo(QFileInfo(data).path()).isWritable())
        return QCoreApplication::translate(
                   "SettingsCheck",
                   "an unfinished change in %1 cannot be undone because the folder "
                   "is read-only")
            .arg(journal);
    return error.isEmpty() ? QCoreApplication::translate("SettingsCheck",
                                                         "it is damaged or not a Plumora data file")
                           : error;
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
        db.emplace(m_paths.dataFile(), m_changes);
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

    FileReplace::removeLeftovers(m_paths.dataFile(), FileReplace::Leftovers::PartsAndOlderCopies);
    step("copy the template", [&] { return copyTemplate(); });
    // A file the user made read-only is read, never written (nor replaced as damaged).
    result.readOnly = isReadOnlyFile(m_paths.dataFile());
    // Before anything is written, so that nothing foreign acts on it.
    if (!result.readOnly)
        result.cleanupMessage = SchemaCleanup::message(SchemaCleanup::run(m_paths.dataFile()));
    // A copy restored by hand may be readable by everyone; the file holds the mail password.
    for (const QString& file :
         QStringList{m_paths.dataFile(), m_paths.dataFile() + QStringLiteral("-journal")}) {
        if (QFileInfo::exists(file))
            restrictToOwner(file);
    }
    if (result.readOnly) {
        if (!open())
            result.unreadable = unreadableReason(db ? db->lastError() : QString());
        return result;
    }
    step("open the data file", open);
    // A file that cannot take the new schema (read-only, say) still works, only slower; it
    // is never a reason to replace it.
    if (loaded && Migrations::run(*db, m_schema) == Migrations::Outcome::Failed)
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
    if (!loaded)
        result.unreadable = unreadableReason(db ? db->lastError() : QString());
    return result;
}
