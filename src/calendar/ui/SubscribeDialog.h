// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/ical/Subscriptions.h"

#include <QDialog>

class AppContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Subscribe to a calendar...": the calendars followed, with Remove, those whose last refresh
// failed marked, and a new one from its address, a name and how often it is refreshed. A new
// subscription is fetched at once and kept only when that worked; a failure is told here.
class SubscribeDialog : public QDialog {
    Q_OBJECT
public:
    SubscribeDialog(AppContext& context, SubscriptionRefresh* refresh, QWidget* parent = nullptr);

    // Items of the list whose last refresh failed carry true under this role.
    static constexpr int FailedRole = Qt::UserRole + 1;

    // Tries the subscription the fields describe, and adds it once its calendar was read
    // (a failure is told then); false, with a message, when the fields do not describe one.
    bool subscribe();
    // Removes the subscription selected in the list, after the user confirms.
    bool removeSelected();

Q_SIGNALS:
    void changed();

private:
    void reload();
    void trying(bool busy);
    void showTried(const QString& text);
    void added();

    AppContext& m_context;
    SubscriptionRefresh* m_refresh;
    std::vector<Subscription> m_shown;
    QListWidget* m_list;
    QPushButton* m_remove;
    QLineEdit* m_address;
    QLineEdit* m_name;
    QComboBox* m_every;
    QPushButton* m_subscribe;
    QLabel* m_tried;
};
