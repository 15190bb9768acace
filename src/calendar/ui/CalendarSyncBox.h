// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/caldav/CalDavStore.h"
#include "shell/ui/OptionsGroup.h"

#include <QPointer>

#include <functional>

class CalDavDiscovery;
class CalDavStore;
class CalendarSync;
class Dialogs;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SecretStore;
struct SyncOutcome;

// The "Calendar sync" group of the Options page: server address, user name and password,
// the calendar picked from those the server has (or "Plumora", made on request), how
// often to sync, "Sync now" ("Cancel" while a sync runs) and a status line; while the sync
// pauses on removals the server asked for, the question with its two answers; and, after an
// agreed mass removal, a button that puts the deleted events back. The account is written as
// soon as a calendar is picked or the interval changes; the password goes to the keyring,
// or, with no keyring reachable, to the data file, and the box says which. A save that fails
// is told in a message naming the data file and the reason.
class CalendarSyncBox : public OptionsGroup {
    Q_OBJECT
public:
    // After the mail group.
    static constexpr int Order = 300;

    CalendarSyncBox(CalDavStore& store, SecretStore& secrets, Dialogs& dialogs, CalendarSync* sync,
                    QWidget* parent = nullptr);
    ~CalendarSyncBox() override;

    // Shows the stored account and the last sync's result.
    void fill();

    int order() const override { return Order; }
    void load(const Settings&) override { fill(); }
    // A typed password not yet kept, or a server or user name being typed.
    bool hasUnsavedInput() const override;
    // The sync's results and questions at once; the account, with the calendars found for
    // it, only when another writer changed it.
    bool follow(const Settings& stored) override;
    QStringList tables() const override;

private:
    void findCalendars();
    void discoverWith(const QString& password);
    // Keeps a typed password (keyring, else data file), then runs `then`.
    void storePassword(const QString& typed, std::function<void()> then);
    void showPasswordPlace(const char* text);
    void makePlumora();
    // Writes the account; `speak`: a failure is told in a message, not only the status line.
    bool save(bool speak = true);
    void syncNow();
    void showStatus(const QString& text);
    void showLastSync();
    // The question about withheld removals and the restore button, as the data file says.
    void showWithheld();
    void answer(bool deleteHere);
    void restore();

    CalDavStore& m_store;
    SecretStore& m_secrets;
    Dialogs& m_dialogs;
    QPointer<CalendarSync> m_sync;
    CalDavDiscovery* m_discovery;
    QLineEdit* m_server;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLabel* m_passwordPlace;
    QPushButton* m_find;
    QComboBox* m_calendar;
    QPushButton* m_create;
    QComboBox* m_every;
    QPushButton* m_syncNow;
    QPushButton* m_cancel; // shown while a sync runs
    QLabel* m_status;
    QLabel* m_question;
    QPushButton* m_deleteHere;
    QPushButton* m_keepThem;
    QPushButton* m_restore;
    bool m_filling = false;
    // The account as the box last read or wrote it.
    CalDavAccount m_known;
    bool m_telling = false; // a save failure's message is up: the focus it takes saves again
};
