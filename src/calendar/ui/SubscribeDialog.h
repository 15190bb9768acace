// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/ical/Subscriptions.h"

#include <QDialog>

class AppContext;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Subscribe to a calendar...": the calendars followed, with Remove, and a new one from its
// address, a name and how often it is refreshed. A new subscription is refreshed at once.
class SubscribeDialog : public QDialog {
    Q_OBJECT
public:
    SubscribeDialog(AppContext& context, SubscriptionRefresh* refresh, QWidget* parent = nullptr);

    // Adds the subscription the fields describe; false, with a message, when they do not.
    bool subscribe();
    // Removes the subscription selected in the list, after the user confirms.
    bool removeSelected();

Q_SIGNALS:
    void changed();

private:
    void reload();

    AppContext& m_context;
    SubscriptionRefresh* m_refresh;
    std::vector<Subscription> m_shown;
    QListWidget* m_list;
    QPushButton* m_remove;
    QLineEdit* m_address;
    QLineEdit* m_name;
    QComboBox* m_every;
};
