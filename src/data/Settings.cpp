// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Settings.h"

#include "base/Log.h"
#include "data/DataFile.h"
#include "data/DateText.h"
#include "data/SettingsBounds.h"

#include <QCoreApplication>
#include <QSqlRecord>

#include <variant>

namespace {

using Field = Settings::Field;

// How a yes/no column is written: the holiday switches as 1/0, the others as -1/0.
enum class BoolStyle { MinusOne, One };
struct BoolMember {
    bool Settings::*member;
    BoolStyle style;
};
using Member = std::variant<int Settings::*, double Settings::*, QString Settings::*,
                            QDate Settings::*, BoolMember>;

struct Column {
    Field field;
    const char* name;
    Member member;
};

// The one place that names System's columns.
const Column Columns[] = {
    {Field::LastHolidayUpdate, "Lastupdate", &Settings::lastHolidayUpdate},
    {Field::CheckMail, "CheckMail", BoolMember{&Settings::checkMail, BoolStyle::MinusOne}},
    {Field::MailUser, "MailUser", &Settings::mailUser},
    {Field::MailServer, "MailPOP3", &Settings::mailServer},
    {Field::MailPassword, "MailPwd", &Settings::mailPassword},
    {Field::ShowEvery, "ShowEvery", &Settings::showEvery},
    {Field::CheckMailMinutes, "CheckMailMin", &Settings::checkMailMinutes},
    {Field::NotifyAgo, "NotifyAgo", &Settings::notifyAgo},
    {Field::SmallIcons, "CheckSum", &Settings::smallIcons},
    {Field::AddHolidays, "AddHolidays", BoolMember{&Settings::addHolidays, BoolStyle::One}},
    {Field::AddAmerica, "AddAmerica", BoolMember{&Settings::addAmerica, BoolStyle::One}},
    {Field::AddCanada, "AddCanada", BoolMember{&Settings::addCanada, BoolStyle::One}},
    {Field::ReminderSound, "RmWav", &Settings::reminderSound},
    {Field::WindowLeft, "winLeft", &Settings::windowLeft},
    {Field::WindowTop, "winTop", &Settings::windowTop},
    {Field::WindowWidth, "winWidth", &Settings::windowWidth},
    {Field::WindowHeight, "winHeight", &Settings::windowHeight},
    {Field::WindowMaximised, "winMax", BoolMember{&Settings::windowMaximised, BoolStyle::MinusOne}},
    {Field::WallpaperOption, "WallOpt", &Settings::wallpaperOption},
    {Field::WallpaperLastDay, "WallLastDay", &Settings::wallpaperLastDay},
    {Field::CurrentWallpaper, "CurWall", &Settings::currentWallpaper},
    {Field::MailType, "MailType", &Settings::mailType},
    {Field::MailPort, "MailPort", &Settings::mailPort},
    {Field::MailSecurity, "MailSSL", &Settings::mailSecurity},
    {Field::MailDiscovered, "MailAuto", BoolMember{&Settings::mailDiscovered, BoolStyle::MinusOne}},
    {Field::MailPasswordInKeyring, "MailKeyring",
     BoolMember{&Settings::mailPasswordInKeyring, BoolStyle::MinusOne}},
};

const Column& columnOf(Field field) {
    for (const Column& c : Columns) {
        if (c.field == field)
            return c;
    }
    Q_UNREACHABLE();
}

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

// Stores a column's value in its field; false when the value is null or of no use.
bool assign(Settings& s, const Member& member, const QVariant& v) {
    if (v.isNull())
        return false;
    return std::visit(Overloaded{
                          [&](int Settings::*m) {
                              bool ok = false;
                              const int i = v.toInt(&ok);
                              if (ok)
                                  s.*m = i;
                              return ok;
                          },
                          [&](double Settings::*m) {
                              bool ok = false;
                              const double d = v.toDouble(&ok);
                              if (ok)
                                  s.*m = d;
                              return ok;
                          },
                          [&](QString Settings::*m) {
                              s.*m = v.toString();
                              return true;
                          },
                          // A value that is no date reads as "no date" (see SettingsBounds).
                          [&](QDate Settings::*m) {
                              s.*m = DateText::toDate(v);
                              return true;
                          },
                          [&](BoolMember m) {
                              bool ok = false;
                              const int i = v.toInt(&ok);
                              if (ok)
                                  s.*(m.member) = i != 0;
                              return ok;
                          },
                      },
                      member);
}

QVariant stored(const Settings& s, const Member& member) {
    return std::visit(Overloaded{
                          [&](int Settings::*m) { return QVariant(s.*m); },
                          [&](double Settings::*m) { return QVariant(s.*m); },
                          // A null QString would be stored as NULL, which reads as "no value".
                          [&](QString Settings::*m) {
                              return QVariant((s.*m).isNull() ? QStringLiteral("") : s.*m);
                          },
                          [&](QDate Settings::*m) {
                              return (s.*m).isValid() ? QVariant(DateText::fromDate(s.*m))
                                                      : QVariant(QStringLiteral(""));
                          },
                          [&](BoolMember m) {
                              const int yes = m.style == BoolStyle::One ? 1 : -1;
                              return QVariant(s.*(m.member) ? yes : 0);
                          },
                      },
                      member);
}

bool differs(const Settings& a, const Settings& b, const Member& member) {
    return std::visit(Overloaded{[&](BoolMember m) { return a.*(m.member) != b.*(m.member); },
                                 [&](auto m) { return a.*m != b.*m; }},
                      member);
}

} // namespace

QList<Settings::Field> Settings::allFields() {
    QList<Field> fields;
    for (const Column& c : Columns)
        fields << c.field;
    return fields;
}

QString Settings::columnName(Field field) {
    return QLatin1String(columnOf(field).name);
}

void Settings::copyField(Field field, const Settings& other) {
    std::visit(Overloaded{[&](BoolMember m) { this->*(m.member) = other.*(m.member); },
                          [&](auto m) { this->*m = other.*m; }},
               columnOf(field).member);
}

SettingsStore::ReadResult SettingsStore::read(DataFile& db, Settings& out) {
    ReadResult result;
    db.forEach(QStringLiteral("SELECT * FROM System LIMIT 1"), {}, [&](DataFile::Row row) {
        result.rowRead = true;
        const QSqlRecord record = row.record();
        for (const Column& c : Columns) {
            // QSqlRecord matches names without regard to case.
            const int i = record.indexOf(QLatin1String(c.name));
            if (i < 0 || !assign(out, c.member, SettingsBounds::bounded(c.field, record.value(i))))
                result.missing << c.field;
        }
        return false;
    });
    if (!result.rowRead)
        qCWarning(lcData) << "settings row not readable:" << db.lastError();
    return result;
}

bool SettingsStore::save(DataFile& db, const Settings& loaded, const Settings& updated) {
    const QStringList present = db.columns(QStringLiteral("System"));
    QStringList assignments;
    QVariantList bound;
    for (const Column& c : Columns) {
        if (!differs(loaded, updated, c.member))
            continue;
        const QString name = QLatin1String(c.name);
        const auto it = std::find_if(present.begin(), present.end(), [&](const QString& p) {
            return p.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it == present.end()) {
            qCWarning(lcData) << "System has no column" << name;
            return false;
        }
        assignments << *it + QStringLiteral(" = ?");
        bound << stored(updated, c.member);
    }
    if (assignments.isEmpty())
        return true;
    // The table holds one row; rowid keeps a stray second row from being overwritten too.
    return db.exec(QStringLiteral("UPDATE System SET ") + assignments.join(u", ") +
                       QStringLiteral(" WHERE rowid = (SELECT MIN(rowid) FROM System)"),
                   bound);
}

std::optional<Settings> SettingsStore::load() const {
    m_error.clear();
    DataFile db(m_path, m_changes);
    Settings s;
    if (!db.isOpen() || !read(db, s).rowRead) {
        m_error = db.lastError().isEmpty()
                      ? QCoreApplication::translate("SettingsStore",
                                                    "The settings row could not be read.")
                      : db.lastError();
        return std::nullopt;
    }
    return s;
}

bool SettingsStore::save(const Settings& loaded, const Settings& updated) const {
    m_error.clear();
    if (loaded == updated)
        return true;
    DataFile db(m_path, m_changes);
    if (db.isOpen() && save(db, loaded, updated))
        return true;
    m_error =
        db.lastError().isEmpty()
            ? QCoreApplication::translate("SettingsStore", "The settings could not be written.")
            : db.lastError();
    return false;
}

SchemaPart SettingsStore::tables() {
    SchemaPart part;
    part.create = {QStringLiteral("CREATE TABLE System ("
                                  " NotifyAgo INTEGER NOT NULL DEFAULT 2,"
                                  " ShowEvery INTEGER NOT NULL DEFAULT 60,"
                                  " CheckSum INTEGER NOT NULL DEFAULT 0,"
                                  " AddHolidays INTEGER NOT NULL DEFAULT 0,"
                                  " AddAmerica INTEGER NOT NULL DEFAULT 0,"
                                  " AddCanada INTEGER NOT NULL DEFAULT 0,"
                                  " RmWav TEXT NOT NULL DEFAULT '',"
                                  " CheckMail INTEGER NOT NULL DEFAULT 0,"
                                  " CheckMailMin INTEGER NOT NULL DEFAULT 5,"
                                  " MailUser TEXT NOT NULL DEFAULT '',"
                                  " MailPOP3 TEXT NOT NULL DEFAULT '',"
                                  " MailPwd TEXT NOT NULL DEFAULT '',"
                                  " Lastupdate TEXT,"
                                  " winLeft REAL NOT NULL DEFAULT 0,"
                                  " winTop REAL NOT NULL DEFAULT 0,"
                                  " winWidth REAL NOT NULL DEFAULT 0,"
                                  " winHeight REAL NOT NULL DEFAULT 0,"
                                  " winMax INTEGER NOT NULL DEFAULT 0,"
                                  " WallOpt INTEGER NOT NULL DEFAULT 3,"
                                  " WallLastDay TEXT,"
                                  " CurWall TEXT NOT NULL DEFAULT '',"
                                  " MailType TEXT NOT NULL DEFAULT 'pop3',"
                                  " MailPort INTEGER NOT NULL DEFAULT 0,"
                                  " MailSSL INTEGER NOT NULL DEFAULT 0,"
                                  " MailAuto INTEGER NOT NULL DEFAULT 0,"
                                  " MailKeyring INTEGER NOT NULL DEFAULT 0)")};
    // 3: the mail account's kind, port and security, whether it came from the mail program
    // (before, the server only ever did), and whether its password is in the desktop keyring.
    part.steps[3] = {
        QStringLiteral("ALTER TABLE System ADD COLUMN MailType TEXT NOT NULL DEFAULT 'pop3'"),
        QStringLiteral("ALTER TABLE System ADD COLUMN MailPort INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("ALTER TABLE System ADD COLUMN MailSSL INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("ALTER TABLE System ADD COLUMN MailAuto INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("ALTER TABLE System ADD COLUMN MailKeyring INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("UPDATE System SET MailAuto = -1 WHERE MailPOP3 <> ''")};
    return part;
}
