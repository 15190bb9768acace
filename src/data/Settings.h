// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/FileSchema.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class CommitListener;
class DataFile;

// Every setting of the single-row System table as a typed field. The one map from fields to
// column names is in Settings.cpp; nothing else names a System column.
struct Settings {
    // Days ahead the reminder looks; 255 marks a file that has never been started.
    int notifyAgo = 2;
    // Minutes between two reminders.
    int showEvery = 60;
    // Small icons in the calendar (CheckSum); start-up turns any positive value into -1.
    int smallIcons = 0;
    bool addHolidays = false;
    bool addAmerica = false;
    bool addCanada = false;
    // The reminder sound the user chose; empty means reminder.wav.
    QString reminderSound;
    bool checkMail = false;
    int checkMailMinutes = 5;
    QString mailUser;
    QString mailServer;
    QString mailPassword;
    // The mail account's kind ("pop3" or "imap"), port (0: the usual one) and security (0
    // none, 2 STARTTLS, 3 SSL/TLS); whether it came from the mail program; whether its password is
    // in the desktop keyring rather than in mailPassword.
    QString mailType = QStringLiteral("pop3");
    int mailPort = 0;
    int mailSecurity = 0;
    bool mailDiscovered = false;
    bool mailPasswordInKeyring = false;
    // When the holiday list was last merged.
    QDate lastHolidayUpdate;
    // The main window's normal placement, in twips.
    double windowLeft = 0;
    double windowTop = 0;
    double windowWidth = 0;
    double windowHeight = 0;
    bool windowMaximised = false;
    int wallpaperOption = 3;
    QDate wallpaperLastDay;
    QString currentWallpaper;

    bool operator==(const Settings&) const = default;

    // The fields by name, in the order the tick reads them first.
    enum class Field {
        LastHolidayUpdate,
        CheckMail,
        MailUser,
        MailServer,
        MailPassword,
        ShowEvery,
        CheckMailMinutes,
        NotifyAgo,
        SmallIcons,
        AddHolidays,
        AddAmerica,
        AddCanada,
        ReminderSound,
        WindowLeft,
        WindowTop,
        WindowWidth,
        WindowHeight,
        WindowMaximised,
        WallpaperOption,
        WallpaperLastDay,
        CurrentWallpaper,
        MailType,
        MailPort,
        MailSecurity,
        MailDiscovered,
        MailPasswordInKeyring,
    };
    static QList<Field> allFields();
    // The column a field is stored in.
    static QString columnName(Field field);
    // Copies one field from `other`.
    void copyField(Field field, const Settings& other);
};

// Reads and writes the System row. Column names match without regard to case, so files
// that spell a column differently still load; columns this program does not know are
// never touched.
class SettingsStore {
public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    struct ReadResult {
        bool rowRead = false;
        // Fields whose column is missing or holds no value; they keep their defaults.
        QList<Settings::Field> missing;
    };

    // Reads the row of an open file into `out`.
    static ReadResult read(DataFile& db, Settings& out);
    // Writes the fields where `updated` differs from `loaded`, in one statement. True when
    // there was nothing to write.
    static bool save(DataFile& db, const Settings& loaded, const Settings& updated);

    explicit SettingsStore(QString dataFile, CommitListener* changes = nullptr)
        : m_path(std::move(dataFile)), m_changes(changes) {}
    // One operation each: open, read or write, close. A failing one leaves its reason here.
    QString lastError() const { return m_error; }
    const QString& dataFile() const { return m_path; }
    CommitListener* changes() const { return m_changes; }
    std::optional<Settings> load() const;
    bool save(const Settings& loaded, const Settings& updated) const;
    // Loads, lets `change` edit, and saves what changed.
    template <typename F> bool update(F&& change) const {
        const std::optional<Settings> loaded = load();
        if (!loaded)
            return false;
        Settings updated = *loaded;
        change(updated);
        return save(*loaded, updated);
    }

private:
    QString m_path;
    CommitListener* m_changes = nullptr;
    mutable QString m_error;
};
